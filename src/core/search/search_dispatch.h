#pragma once
// The search button's work: one worker thread per engine, each running that engine's search.
#include <memory>
#include <optional>
#include <vector>

#include "app/result_lists.h"
#include "engines/engine_definition.h"
#include "search/list_gate.h"
#include "search/search_engine.h"
#include "search/start_thread.h"
#include "web/cancellation.h"

namespace ondrel {

// startSearch, stop and the counts are called from one thread (the user-interface thread).
// The lists and the keyword are reached from the worker threads; they must not wait for that
// thread while it is inside startSearch, stop or the destructor.
class SearchDispatcher {
public:
    SearchDispatcher(const EngineTable& engines, ResultLists& lists, KeywordSource& keyword, int jobsPerEngine = 6);
    // Cancels every run and waits for its workers, which end promptly: their requests in
    // flight are aborted.
    ~SearchDispatcher();
    SearchDispatcher(const SearchDispatcher&) = delete;
    SearchDispatcher& operator=(const SearchDispatcher&) = delete;

    // Cancels the runs of the previous search (they change no list from now on), sets the
    // result count to 0 and starts one worker per engine, invalid engines included. Returns
    // the new search's id, which every list change of its runs carries.
    SearchId startSearch();
    // Cancels the current search's runs without starting new ones; the count stays.
    void stop();

    // Workers started by the latest search: a slot keeps its worker's handle after it ends.
    int startedWorkers() const;
    // Rows accepted by the latest search.
    int resultCount() const { return gate_.rowCount(); }
    // Waits until every worker of the latest search has ended, at most `milliseconds` when
    // given; true when they have.
    bool waitForWorkers(std::optional<int> milliseconds = std::nullopt) const;

private:
    std::uint32_t searchWorker(int engineNumber, SearchId search, const CancellationToken& cancel);

    const EngineTable& engines_;
    KeywordSource& keyword_;
    const int jobs_;
    ListGate gate_;
    std::vector<ThreadHandle> workerHandles_;  // slot i - 1 for engine i
    std::vector<ThreadHandle> unfinished_;     // every worker that may still run, to wait for at the end
    std::shared_ptr<Cancellation> cancel_;     // the latest search's
    SearchId lastSearch_ = 0;
};

}  // namespace ondrel
