#include "search/search_dispatch.h"

#include <algorithm>
#include <chrono>

namespace ondrel {

SearchDispatcher::SearchDispatcher(const EngineTable& engines, ResultLists& lists, KeywordSource& keyword,
                                   int jobsPerEngine)
    : engines_(engines), keyword_(keyword), jobs_(std::max(jobsPerEngine, 1)), gate_(lists),
      workerHandles_(size_t(engines.count())) {}

SearchDispatcher::~SearchDispatcher() {
    stop();
    for (const ThreadHandle& worker : unfinished_) worker.wait();
}

std::uint32_t SearchDispatcher::searchWorker(int engineNumber, SearchId search, const CancellationToken& cancel) {
    EngineRun run;
    run.engine = &engines_.engine(engineNumber);
    run.engineNumber = engineNumber;
    run.lists = &gate_;
    run.keyword = &keyword_;
    run.search = search;
    run.cancel = cancel;
    run.jobs = jobs_;
    searchEngine(run);
    return 0;
}

SearchId SearchDispatcher::startSearch() {
    if (cancel_) cancel_->cancel();
    const SearchId search = ++lastSearch_;
    gate_.open(search);
    cancel_ = std::make_shared<Cancellation>();
    std::erase_if(unfinished_, [](const ThreadHandle& worker) { return worker.finished(); });
    for (int i = 1; i <= engines_.count(); ++i) {
        ThreadHandle& slot = workerHandles_[size_t(i) - 1];
        slot = ThreadHandle();  // closing the previous handle leaves that worker to its end
        StartThreadOptions options;
        options.parameter = i;
        options.handleSlot = &slot;
        const CancellationToken cancel = cancel_;
        startThread([this, search, cancel](std::int32_t engine) { return searchWorker(engine, search, cancel); },
                    options);
        if (slot) unfinished_.push_back(slot);
    }
    return search;
}

void SearchDispatcher::stop() {
    if (cancel_) cancel_->cancel();
    gate_.close();
}

int SearchDispatcher::startedWorkers() const {
    return int(std::count_if(workerHandles_.begin(), workerHandles_.end(), [](const ThreadHandle& h) { return bool(h); }));
}

bool SearchDispatcher::waitForWorkers(std::optional<int> milliseconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds.value_or(0));
    for (const ThreadHandle& worker : workerHandles_) {
        if (!worker) continue;
        if (!milliseconds) {
            worker.wait();
            continue;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!worker.wait(std::max<int>(int(left.count()), 0))) return false;
    }
    return true;
}

}  // namespace ondrel
