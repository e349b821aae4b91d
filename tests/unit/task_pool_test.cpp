// The task pool's state machine: one thread at a time, the start options, the waits and what
// each leaves in the handle and thread-id fields.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "app/event_pump.h"
#include "icons/task_pool.h"
#include "icons/thread_records.h"

#if defined(__linux__)
#include <pthread.h>
#endif

namespace ondrel {
namespace {

// A routine that runs until the test opens its gate, then returns `code`.
struct Gate {
    std::promise<void> opened;
    std::shared_future<void> ready = opened.get_future().share();
    std::atomic<bool> ran{false};
    void open() { opened.set_value(); }
    TaskRoutine routine(std::uint32_t code = 7) {
        return [this, code](std::uint32_t) {
            ran = true;
            ready.wait();
            return code;
        };
    }
};

std::atomic<int> pumps{0};
void countPump() { ++pumps; }

struct PumpCounter {
    PumpCounter() {
        pumps = 0;
        setPendingEventPump(countPump);
    }
    ~PumpCounter() { setPendingEventPump(nullptr); }
};

StartOptions waitingForEnd(bool pump, std::int32_t timeoutMs, ThreadHandle* handleOut, std::uint32_t* exitCodeOut) {
    StartOptions options;
    options.waitForEnd = true;
    options.pumpMessages = pump;
    options.timeoutMs = timeoutMs;
    options.handleOut = handleOut;
    options.exitCodeOut = exitCodeOut;
    return options;
}

TEST(TaskPoolTest, StartWhileRunningIsRefusedAndAfterTheEndClosesTheOldHandle) {
    TaskPool pool;
    Gate first;
    ASSERT_TRUE(pool.start(first.routine()));
    const ThreadHandle firstHandle = pool.getHandle();
    EXPECT_GT(firstHandle, 1u);
    EXPECT_NE(pool.getThreadId(), 0u);
    Gate second;
    EXPECT_FALSE(pool.start(second.routine()));
    EXPECT_EQ(pool.getHandle(), firstHandle);
    first.open();
    ASSERT_TRUE(pool.wait());
    EXPECT_EQ(pool.getHandle(), firstHandle);  // a wait leaves an ended thread's handle in place
    EXPECT_EQ(pool.exitCode(), 7u);
    ASSERT_TRUE(pool.start(second.routine(9)));
    EXPECT_NE(pool.getHandle(), firstHandle);
    EXPECT_FALSE(findThreadRecord(firstHandle));  // closed by the start
    second.open();
    ASSERT_TRUE(pool.wait(-1));
    EXPECT_EQ(pool.exitCode(), 9u);
}

TEST(TaskPoolTest, StackSizeRule) {
    const struct {
        std::optional<std::uint32_t> asked;
        std::size_t reserved;
    } cases[] = {{std::nullopt, 0}, {0, 0}, {1, 8192}, {5000, 8192}, {8192, 8192}, {12289, 12288}, {(1u << 20) + 4095, 1u << 20}};
    for (const auto& c : cases) EXPECT_EQ(threadStackReservation(c.asked), c.reserved) << c.asked.value_or(12345678);
#if defined(__linux__)
    // The new thread really runs on a stack of that size, not on the default one.
    TaskPool pool;
    std::uint32_t stackPages = 0;
    StartOptions options;
    options.stackSize = (1u << 20) + 100;
    options.waitForEnd = true;
    options.exitCodeOut = &stackPages;
    ASSERT_TRUE(pool.start([](std::uint32_t) {
        pthread_attr_t attributes;
        pthread_getattr_np(pthread_self(), &attributes);
        std::size_t size = 0;
        pthread_attr_getstacksize(&attributes, &size);
        pthread_attr_destroy(&attributes);
        return std::uint32_t(size / 4096);
    }, options));
    EXPECT_EQ(stackPages, 256u);
#endif
}

TEST(TaskPoolTest, SuspendedStartReturnsAtOnceAndRunsOnlyAfterResume) {
    TaskPool pool;
    Gate gate;
    gate.open();
    ThreadHandle handle = 0;
    StartOptions options;
    options.suspended = true;
    options.waitForEnd = true;  // ignored for a suspended start
    options.handleOut = &handle;
    ASSERT_TRUE(pool.start(gate.routine(3), options));
    EXPECT_EQ(handle, pool.getHandle());
    EXPECT_FALSE(pool.wait(50));
    EXPECT_FALSE(gate.ran);
    EXPECT_TRUE(pool.isRunning());
    EXPECT_EQ(pool.exitCode(), stillActive);
    ASSERT_TRUE(pool.resume());
    ASSERT_TRUE(pool.wait());
    EXPECT_TRUE(gate.ran);
    EXPECT_EQ(pool.exitCode(), 3u);
    EXPECT_FALSE(pool.isRunning());
}

TEST(TaskPoolTest, PumpingWaitWithALimitGivesUpAfterItsSlicesAndKeepsTheThread) {
    PumpCounter counter;
    TaskPool pool;
    Gate gate;
    ThreadHandle handle = 0;
    std::uint32_t code = 12345;
    const StartOptions options = waitingForEnd(true, 100, &handle, &code);
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(pool.start(gate.routine(), options));
    const auto waited = std::chrono::steady_clock::now() - before;
    // 100 ms is 10 ms and then six slices of 15 ms, with the events processed before each.
    EXPECT_EQ(pumps, 6);
    EXPECT_GE(waited, std::chrono::milliseconds(100));
    EXPECT_EQ(handle, pool.getHandle());
    EXPECT_EQ(code, 12345u);
    EXPECT_TRUE(pool.isRunning());
    // A limit below one slice is a single wait with no event processing.
    EXPECT_FALSE(pool.waitPumping(10));
    EXPECT_EQ(pumps, 6);
    gate.open();
    // Without a limit the pumping wait lasts until the thread ends.
    EXPECT_TRUE(pool.waitPumping());
    EXPECT_TRUE(pool.waitWithMessages(-1));
}

TEST(TaskPoolTest, WaitForEndThatSeesTheEndReportsTheCodeAndLeavesTheObjectIdle) {
    for (const bool pump : {false, true}) {
        PumpCounter counter;
        TaskPool pool;
        ThreadHandle handle = 99;
        std::uint32_t code = 0;
        StartOptions options = waitingForEnd(pump, 5000, &handle, &code);
        options.argument = 41;
        ASSERT_TRUE(pool.start([](std::uint32_t argument) { return argument + 1; }, options));
        EXPECT_EQ(code, 42u);
        EXPECT_EQ(handle, 0u);
        EXPECT_EQ(pool.getHandle(), 0u);
        EXPECT_EQ(pool.getThreadId(), 0u);
        EXPECT_EQ(pool.exitCode(), 0u);
        EXPECT_TRUE(pool.checkIdle());
    }
}

std::uint32_t plainRoutine(std::uint32_t argument) { return argument * 2; }

TEST(TaskPoolTest, StartAtAddress) {
    TaskPool pool;
    EXPECT_FALSE(pool.startAtAddress(0));
    EXPECT_EQ(pool.getHandle(), 0u);
    StartOptions options;
    options.argument = 21;
    ASSERT_TRUE(pool.startAtAddress(reinterpret_cast<std::uintptr_t>(&plainRoutine), options));
    EXPECT_EQ(pool.getThreadId(), 0u);  // the id of a thread started at an address is not kept
    ASSERT_TRUE(pool.wait());
    EXPECT_EQ(pool.exitCode(), 42u);
}

TEST(TaskPoolTest, CheckIdleForgetsOrClosesAnEndedThread) {
    for (const bool close : {false, true}) {
        TaskPool pool;
        ASSERT_TRUE(pool.start([](std::uint32_t) { return 0u; }));
        const ThreadHandle handle = pool.getHandle();
        ASSERT_TRUE(pool.wait());
        EXPECT_TRUE(pool.checkIdle(close));
        EXPECT_EQ(pool.getHandle(), 0u);
        EXPECT_EQ(pool.getThreadId(), 0u);
        EXPECT_EQ(bool(findThreadRecord(handle)), !close);
        if (!close) closeThreadHandle(handle);  // the forgotten handle is the test's to close
    }
}

TEST(TaskPoolTest, DestroyingThePoolClosesTheHandleAndLeavesTheThreadRunning) {
    Gate gate;
    ThreadHandle handle = 0;
    std::atomic<bool> finished{false};
    {
        TaskPool pool;
        ASSERT_TRUE(pool.start([&](std::uint32_t) {
            gate.ready.wait();
            finished = true;
            return 0u;
        }));
        handle = pool.getHandle();
    }
    EXPECT_FALSE(findThreadRecord(handle));
    gate.open();
    for (int i = 0; i < 500 && !finished; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_TRUE(finished);
}

TEST(TaskPoolTest, OfTwoCallersStartingAtOnceExactlyOneStarts) {
    for (int round = 0; round < 50; ++round) {
        TaskPool pool;
        Gate gate;
        std::atomic<int> started{0};
        std::atomic<bool> go{false};
        auto caller = [&] {
            while (!go) std::this_thread::yield();
            if (pool.start(gate.routine())) ++started;
        };
        std::thread a(caller), b(caller);
        go = true;
        a.join();
        b.join();
        EXPECT_EQ(started, 1) << "round " << round;
        gate.open();
        pool.wait();
    }
}

TEST(TaskPoolTest, WaitsOnAHandleThatNamesNothingFailAndClearTheObject) {
    TaskPool pool;
    pool.attachHandle(123456);
    EXPECT_EQ(pool.exitCode(), 0u);
    EXPECT_TRUE(pool.wait(10));
    EXPECT_EQ(pool.getHandle(), 0u);
    pool.attachHandle(1);  // the start marker
    EXPECT_FALSE(pool.isRunning());
    EXPECT_EQ(pool.getHandle(), 0u);
    pool.attachHandle(123456);
    EXPECT_TRUE(pool.checkIdle());
    EXPECT_TRUE(pool.closeHandle());
    // An ended thread's handle that one pool forgets can be handed to another, which then
    // owns it and closes it.
    Gate gate;
    ThreadHandle handle = 0;
    {
        TaskPool second;
        {
            TaskPool first;
            ASSERT_TRUE(first.start(gate.routine(5)));
            handle = first.getHandle();
            gate.open();
            ASSERT_TRUE(first.wait());
            EXPECT_TRUE(first.checkIdle(false));
        }
        EXPECT_TRUE(findThreadRecord(handle));
        second.attachHandle(handle);
        EXPECT_EQ(second.exitCode(), 5u);
    }
    EXPECT_FALSE(findThreadRecord(handle));
}

TEST(TaskPoolTest, ControlOperationsOnIdleAndRunningThreads) {
    TaskPool pool;
    EXPECT_FALSE(pool.suspend());
    EXPECT_FALSE(pool.resume());
    EXPECT_TRUE(pool.terminate());
    EXPECT_EQ(pool.priority(), 0);
    EXPECT_FALSE(pool.setPriority(0));
    EXPECT_FALSE(pool.setAffinityMask(1));
    Gate gate;
    ASSERT_TRUE(pool.start(gate.routine()));
    EXPECT_FALSE(pool.suspend());
    EXPECT_FALSE(pool.terminate());
    EXPECT_TRUE(pool.resume());  // a running thread is not suspended; nothing to undo
#if defined(__linux__)
    EXPECT_TRUE(pool.setPriority(-2));  // lowering is always allowed
    EXPECT_EQ(pool.priority(), -2);
    EXPECT_TRUE(pool.setAffinityMask(1));
    EXPECT_FALSE(pool.setAffinityMask(0));
#endif
    gate.open();
    EXPECT_TRUE(pool.wait());
}

TEST(TaskPoolTest, ARoutineThatThrowsEndsWithTheFailureCode) {
    TaskPool pool;
    std::uint32_t code = 0;
    StartOptions options;
    options.waitForEnd = true;
    options.exitCodeOut = &code;
    ASSERT_TRUE(pool.start([](std::uint32_t) -> std::uint32_t { throw std::runtime_error("boom"); }, options));
    EXPECT_EQ(code, routineFailed);
}

}  // namespace
}  // namespace ondrel
