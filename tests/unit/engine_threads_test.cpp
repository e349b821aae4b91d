// Starting threads, and the gate through which the runs of a search change the result lists.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/event_pump.h"
#include "search/list_gate.h"
#include "search/start_thread.h"

namespace ondrel {
namespace {

using namespace std::chrono_literals;

TEST(StartThread, StackSizeRule) {
    struct Case {
        std::size_t requested, reserved;
    } cases[] = {{0, 0}, {1, 8192}, {8191, 8192}, {8192, 8192}, {12287, 8192}, {12288, 12288}, {1 << 20, 1 << 20}};
    for (const Case& c : cases) EXPECT_EQ(reservedStackSize(c.requested), c.reserved) << c.requested;
}

TEST(StartThread, KeepsTheHandleAfterTheThreadEnds) {
    ThreadHandle slot;
    StartThreadOptions options;
    options.parameter = 41;
    options.handleSlot = &slot;
    std::atomic<int> seen{0};
    ASSERT_TRUE(startThread([&](std::int32_t p) { seen = p; return std::uint32_t(p + 1); }, options));
    ASSERT_TRUE(slot);
    EXPECT_TRUE(slot.wait(5000));
    EXPECT_EQ(seen.load(), 41);
    EXPECT_TRUE(slot);  // still filled: the count of started workers does not fall
    EXPECT_EQ(slot.exitCode(), 42u);
}

TEST(StartThread, WaitingStoresTheExitCodeAndClosesTheHandle) {
    for (const bool processEvents : {false, true}) {
        ThreadHandle slot;
        std::uint32_t code = 0;
        StartThreadOptions options;
        options.handleSlot = &slot;
        options.wait = true;
        options.exitCodeSlot = &code;
        options.processEvents = processEvents;
        options.stackSize = 100;  // below the floor: 8192 asked for, the system's floor used
        ASSERT_TRUE(startThread([](std::int32_t) { std::this_thread::sleep_for(40ms); return 7u; }, options));
        EXPECT_EQ(code, 7u) << processEvents;
        EXPECT_FALSE(slot) << processEvents;
    }
}

std::atomic<int> pumped{0};

TEST(StartThread, TimedWaitWithEventsRunsOutAndHandsOverTheHandle) {
    setPendingEventPump([] { ++pumped; });
    ThreadHandle slot;
    std::uint32_t code = 99;
    StartThreadOptions options;
    options.handleSlot = &slot;
    options.wait = true;
    options.waitMilliseconds = 50;  // 5 ms, then 3 slices of 15 ms, with events before each
    options.processEvents = true;
    options.exitCodeSlot = &code;
    std::atomic<bool> release{false};
    ASSERT_TRUE(startThread([&](std::int32_t) { while (!release) std::this_thread::sleep_for(1ms); return 1u; }, options));
    setPendingEventPump(nullptr);
    EXPECT_EQ(pumped.load(), 3);
    EXPECT_TRUE(slot);
    EXPECT_EQ(code, 99u);
    release = true;
    EXPECT_TRUE(slot.wait(5000));
}

TEST(StartThread, SuspendedRunsOnlyOnResumeAndIsNotWaitedFor) {
    ThreadHandle slot;
    std::uint64_t id = 0;
    StartThreadOptions options;
    options.handleSlot = &slot;
    options.suspended = true;
    options.wait = true;  // ignored for a suspended thread
    options.threadIdSlot = &id;
    std::atomic<bool> ran{false};
    ASSERT_TRUE(startThread([&](std::int32_t) { ran = true; return 0u; }, options));
    ASSERT_TRUE(slot);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(slot.id(), id);
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(ran.load());
    slot.resume();
    EXPECT_TRUE(slot.wait(5000));
    EXPECT_TRUE(ran.load());
}

struct Change {
    int list, row;
    SearchId search;
    bool operator==(const Change&) const = default;
};

class RecordedLists : public ResultLists {
public:
    void clearList(int list, SearchId search) override { changes.push_back({list, -1, search}); }
    void appendRow(int list, int row, const ResultRow&, SearchId search) override { changes.push_back({list, row, search}); }
    std::vector<Change> changes;
};

TEST(ListGate, PassesOnlyTheCurrentSearchAndCountsItsOwnListRows) {
    RecordedLists target;
    ListGate gate(target);
    gate.open(1);
    gate.clearList(2, 1);
    gate.appendRow(2, 0, {}, 1);
    gate.appendRow(0, 0, {}, 1);  // the combined list: not counted again
    EXPECT_EQ(gate.rowCount(), 1);
    gate.open(2);
    EXPECT_EQ(gate.rowCount(), 0);
    gate.appendRow(2, 1, {}, 1);  // the old search: dropped, not counted
    gate.appendRow(0, 1, {}, 1);
    gate.clearList(2, 2);
    gate.appendRow(2, 0, {}, 2);
    gate.close();
    gate.appendRow(2, 1, {}, 2);  // stopped
    EXPECT_EQ(gate.rowCount(), 1);
    gate.appendRow(99, 0, {}, 2);
    const std::vector<Change> expected = {{2, -1, 1}, {2, 0, 1}, {0, 0, 1}, {2, -1, 2}, {2, 0, 2}};
    EXPECT_EQ(target.changes, expected);
}

}  // namespace
}  // namespace ondrel
