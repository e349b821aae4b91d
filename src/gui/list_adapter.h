#pragma once
// Carries the search's list changes from its worker threads to the window. A worker never
// waits for the window: changes are queued in call order and applied on the user-interface
// thread in batches, so thousands of rows never hold up input or painting. A change from a
// search older than the list's latest clear is dropped, so a cancelled search cannot put rows
// into a list that a newer search has emptied.
#include <QObject>
#include <array>
#include <mutex>
#include <vector>

#include "app/result_lists.h"
#include "result_list_model.h"

class UiThreadQueue;

class ListAdapter : public QObject, public ondrel::ResultLists {
    Q_OBJECT
public:
    using Models = std::array<ResultListModel*, ondrel::resultListCount>;
    explicit ListAdapter(Models models, QObject* parent = nullptr);

    // Any thread.
    void clearList(int list, ondrel::SearchId search) override;
    void appendRow(int list, int row, const ondrel::ResultRow& cells, ondrel::SearchId search) override;

private:
    // User-interface thread: applies what is queued (at most one batch).
    void applyPending();
    struct Change {
        int list;
        ondrel::SearchId search;
        bool clears;
        ResultListModel::Row cells;
    };
    void enqueue(Change change);
    void applyToList(int list, const std::vector<const Change*>& changes);

    Models models_;
    UiThreadQueue* uiThread_;
    std::mutex mutex_;
    std::vector<Change> pending_;  // guarded by mutex_
    bool applyPosted_ = false;     // guarded by mutex_
    // The search of each list's latest clear; user-interface thread only.
    std::array<ondrel::SearchId, ondrel::resultListCount> clearedBy_{};
};
