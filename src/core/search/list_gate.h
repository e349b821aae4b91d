#pragma once
// The result lists as the runs of a search reach them: a change passes only while its search
// is the current one, and the accepted rows of the current search are counted.
#include <array>
#include <atomic>
#include <mutex>

#include "app/result_lists.h"

namespace ondrel {

class ListGate : public ResultLists {
public:
    explicit ListGate(ResultLists& target) : target_(target) {}

    // Makes `search` the current search with a count of 0 (the user-interface thread).
    void open(SearchId search);
    // No search is current any more; the count stays as it was.
    void close();

    // Forwarded only while `search` is current. The check and the forwarding happen under the
    // list's own lock, so once a newer search has been opened no change of an older one can
    // land after the newer one's first change of that list. The thread that opens and closes
    // never takes these locks, so a list that hands its changes to that thread and waits for
    // them cannot deadlock with it.
    void clearList(int list, SearchId search) override;
    void appendRow(int list, int row, const ResultRow& cells, SearchId search) override;

    // Accepted rows of the current (or last closed) search: rows added to an engine's own list.
    int rowCount() const { return int(state_.load(std::memory_order_acquire) & 0xFFFFFFFFu); }

private:
    // The current search's id (low 32 bits) and its row count, in one word, so that a row is
    // counted only for the search that was current when it passed.
    static std::uint64_t pack(SearchId search, std::uint32_t count) { return (search << 32) | count; }
    static SearchId searchOf(std::uint64_t state) { return state >> 32; }
    bool current(SearchId search) const { return searchOf(state_.load(std::memory_order_acquire)) == (search & 0xFFFFFFFFu); }
    bool countRow(SearchId search);

    ResultLists& target_;
    std::atomic<std::uint64_t> state_{0};
    std::array<std::mutex, resultListCount> listLocks_;
};

}  // namespace ondrel
