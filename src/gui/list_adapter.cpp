#include "list_adapter.h"

#include "program_text.h"
#include "ui_thread_queue.h"

namespace {
// Bounds the work of one pass of the event loop; the rest waits for the next pass.
constexpr size_t changesPerBatch = 1000;
}  // namespace

ListAdapter::ListAdapter(Models models, QObject* parent) : QObject(parent), models_(models), uiThread_(new UiThreadQueue(this)) {}

void ListAdapter::clearList(int list, ondrel::SearchId search) { enqueue({list, search, true, {}}); }

void ListAdapter::appendRow(int list, int, const ondrel::ResultRow& cells, ondrel::SearchId search) {
    // Converted here, on the worker, to keep the user-interface thread's share small.
    enqueue({list, search, false,
             {fromProgramText(cells.title), fromProgramText(cells.size), fromProgramText(cells.fileCount), fromProgramText(cells.date),
              fromProgramText(cells.magnetLink)}});
}

void ListAdapter::enqueue(Change change) {
    if (change.list < 0 || change.list >= ondrel::resultListCount) return;
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(change));
    if (!applyPosted_) {
        applyPosted_ = true;
        uiThread_->post([this] { applyPending(); });
    }
}

void ListAdapter::applyPending() {
    std::vector<Change> batch;
    {
        std::lock_guard lock(mutex_);
        if (pending_.size() <= changesPerBatch) {
            batch.swap(pending_);
            applyPosted_ = false;
        } else {
            auto end = pending_.begin() + changesPerBatch;
            batch.assign(std::make_move_iterator(pending_.begin()), std::make_move_iterator(end));
            pending_.erase(pending_.begin(), end);
            uiThread_->post([this] { applyPending(); });
        }
    }
    // Lists are independent of each other, so each list's changes can be applied together, in
    // their own order.
    std::array<std::vector<const Change*>, ondrel::resultListCount> byList;
    for (const Change& change : batch) byList[size_t(change.list)].push_back(&change);
    for (int list = 0; list < ondrel::resultListCount; ++list)
        if (!byList[size_t(list)].empty()) applyToList(list, byList[size_t(list)]);
}

void ListAdapter::applyToList(int list, const std::vector<const Change*>& changes) {
    ondrel::SearchId& clearedBy = clearedBy_[size_t(list)];
    bool clears = false;
    std::vector<ResultListModel::Row> rows;
    for (const Change* change : changes) {
        if (change->search < clearedBy) continue;
        if (change->clears) {
            clearedBy = change->search;
            clears = true;
            rows.clear();
        } else {
            rows.push_back(change->cells);
        }
    }
    ResultListModel& model = *models_[size_t(list)];
    if (clears) model.clear();
    model.appendRows(std::move(rows));
}
