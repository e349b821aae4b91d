#include "search/list_gate.h"

namespace ondrel {

void ListGate::open(SearchId search) { state_.store(pack(search & 0xFFFFFFFFu, 0), std::memory_order_release); }

void ListGate::close() {
    std::uint64_t state = state_.load(std::memory_order_acquire);
    while (!state_.compare_exchange_weak(state, pack(0, std::uint32_t(state)), std::memory_order_acq_rel)) {
    }
}

bool ListGate::countRow(SearchId search) {
    std::uint64_t state = state_.load(std::memory_order_acquire);
    do {
        if (searchOf(state) != (search & 0xFFFFFFFFu)) return false;
    } while (!state_.compare_exchange_weak(state, state + 1, std::memory_order_acq_rel));
    return true;
}

void ListGate::clearList(int list, SearchId search) {
    if (list < 0 || list >= resultListCount || search == 0) return;
    std::lock_guard lock(listLocks_[size_t(list)]);
    if (current(search)) target_.clearList(list, search);
}

void ListGate::appendRow(int list, int row, const ResultRow& cells, SearchId search) {
    if (list < 0 || list >= resultListCount || search == 0) return;
    std::lock_guard lock(listLocks_[size_t(list)]);
    // A row of an engine's own list is an accepted detail page: that is what the count counts.
    const bool passes = list == 0 ? current(search) : countRow(search);
    if (passes) target_.appendRow(list, row, cells, search);
}

}  // namespace ondrel
