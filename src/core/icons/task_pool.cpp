#include "icons/task_pool.h"

#include "icons/thread_records.h"

#if defined(__linux__)
#include <sched.h>
#include <sys/resource.h>
#endif

namespace ondrel {
namespace {

constexpr ThreadHandle startMarker = 1;
constexpr std::uint32_t minimumStack = 8192;
constexpr std::uint32_t stackPage = 4096;

std::atomic<std::uint32_t> lastThreadId{0};

// Omitted and negative limits both mean no limit.
std::optional<std::uint32_t> limitOf(std::optional<std::int32_t> timeoutMs) {
    if (!timeoutMs || *timeoutMs < 0) return std::nullopt;
    return std::uint32_t(*timeoutMs);
}

std::uint32_t exitCodeOf(ThreadHandle handle) {
    const std::shared_ptr<ThreadRecord> record = findThreadRecord(handle);
    if (!record) return 0;
    std::lock_guard held(record->lock);
    return record->ended ? record->exitCode : stillActive;
}

// The thread's side of its record: announce itself, wait while suspended, run, report the end.
void runThread(const std::shared_ptr<ThreadRecord>& record, const TaskRoutine& routine, std::uint32_t argument) {
    {
        std::unique_lock held(record->lock);
        record->systemId = currentSystemThreadId();
        record->changed.notify_all();
        record->changed.wait(held, [&] { return record->released; });
    }
    std::uint32_t code;
    try {
        code = routine(argument);
    } catch (...) {
        code = routineFailed;
    }
    std::lock_guard held(record->lock);
    record->exitCode = code;
    record->ended = true;
    record->changed.notify_all();
}

}  // namespace

std::size_t threadStackReservation(std::optional<std::uint32_t> stackSize) {
    if (!stackSize || *stackSize == 0) return 0;
    if (*stackSize < minimumStack) return minimumStack;
    return *stackSize / stackPage * stackPage;
}

TaskPool::~TaskPool() { closeHandle(); }

bool TaskPool::checkIdle(bool closeFinished) {
    const ThreadHandle handle = handle_.load();
    if (handle == 0) return true;
    // Another caller is between its claim and its store. Counting the marker's failed wait as
    // idle would clear the claim and let a second start through: two threads, one handle lost.
    if (handle == startMarker) return false;
    switch (waitOnThread(handle, 0)) {
    case WaitOutcome::timedOut: return false;
    case WaitOutcome::ended: {
        const ThreadHandle old = forgetHandle();
        if (old != 0 && closeFinished) closeThreadHandle(old);
        return true;
    }
    case WaitOutcome::failed: handle_.exchange(0); return true;
    }
    return true;
}

bool TaskPool::isRunning() {
    const ThreadHandle handle = handle_.load();
    if (handle == 0) return false;
    switch (waitOnThread(handle, 0)) {
    case WaitOutcome::timedOut: return true;
    case WaitOutcome::ended: return false;
    case WaitOutcome::failed: forgetHandle(); return false;
    }
    return false;
}

bool TaskPool::start(TaskRoutine routine, const StartOptions& options) { return startRoutine(std::move(routine), options, true); }

bool TaskPool::startAtAddress(std::uintptr_t address, const StartOptions& options) {
    if (address == 0) return false;
    const auto code = reinterpret_cast<std::uint32_t (*)(std::uint32_t)>(address);
    return startRoutine(code, options, false);
}

bool TaskPool::startRoutine(TaskRoutine routine, const StartOptions& options, bool recordThreadId) {
    auto giveHandle = [&](ThreadHandle h) {
        if (options.handleOut) *options.handleOut = h;
    };
    if (!checkIdle(true)) return false;
    ThreadHandle expected = 0;
    if (!handle_.compare_exchange_strong(expected, startMarker)) return false;

    auto record = std::make_shared<ThreadRecord>();
    record->released = !options.suspended;
    const ThreadHandle handle = openThreadHandle(record);
    if (recordThreadId) threadId_ = ++lastThreadId;
    const bool launched = launchDetachedThread(
        [record, routine = std::move(routine), argument = options.argument] { runThread(record, routine, argument); },
        threadStackReservation(options.stackSize));
    if (!launched) {
        closeThreadHandle(handle);
        if (recordThreadId) threadId_ = 0;
        handle_.store(0);
        giveHandle(0);
        return false;
    }
    handle_.store(handle);
    if (!options.waitForEnd || options.suspended) {
        giveHandle(handle);
        return true;
    }

    const std::optional<std::uint32_t> limit = limitOf(options.timeoutMs);
    const WaitOutcome outcome = options.pumpMessages ? waitOnThreadPumping(handle, limit) : waitOnThread(handle, limit);
    switch (outcome) {
    case WaitOutcome::ended: {
        if (options.exitCodeOut) *options.exitCodeOut = exitCodeOf(handle);
        const ThreadHandle old = forgetHandle();
        if (old != 0) closeThreadHandle(old);
        giveHandle(0);
        return true;
    }
    case WaitOutcome::timedOut: giveHandle(handle); return true;
    case WaitOutcome::failed: giveHandle(0); return false;
    }
    return false;
}

bool TaskPool::readWaitOutcome(WaitOutcome outcome) {
    switch (outcome) {
    case WaitOutcome::ended: return true;
    case WaitOutcome::timedOut: return false;
    case WaitOutcome::failed: forgetHandle(); return true;
    }
    return true;
}

bool TaskPool::wait(std::optional<std::int32_t> timeoutMs) {
    const ThreadHandle handle = handle_.load();
    if (handle == 0) return true;
    return readWaitOutcome(waitOnThread(handle, limitOf(timeoutMs)));
}

bool TaskPool::waitPumping(std::optional<std::int32_t> timeoutMs) {
    const ThreadHandle handle = handle_.load();
    if (handle == 0) return true;
    return readWaitOutcome(waitOnThreadPumping(handle, limitOf(timeoutMs)));
}

// Core has no signal for "input arrived", so the message-aware wait processes events in the
// same 15 ms slices. Its limit counts from the call: a wait restarted with the full limit on
// every event would let a steady stream of events hold the caller forever.
bool TaskPool::waitWithMessages(std::optional<std::int32_t> timeoutMs) { return waitPumping(timeoutMs); }

// Stopping another thread at an arbitrary point, where it may hold a lock or be half-way
// through changing shared data, has no safe equivalent over standard threads; these refuse.
bool TaskPool::suspend() { return false; }
bool TaskPool::terminate() { return idle(); }

// A thread started suspended has not run any of its routine yet, so letting it go is safe.
bool TaskPool::resume() {
    if (idle()) return false;
    const std::shared_ptr<ThreadRecord> record = findThreadRecord(handle_.load());
    if (!record) return false;
    std::lock_guard held(record->lock);
    record->released = true;
    record->changed.notify_all();
    return true;
}

bool TaskPool::closeHandle() {
    const ThreadHandle old = handle_.exchange(0);
    if (old == 0) return true;
    threadId_ = 0;
    return closeThreadHandle(old);
}

ThreadHandle TaskPool::forgetHandle() {
    threadId_ = 0;
    return handle_.exchange(0);
}

std::uint32_t TaskPool::exitCode() {
    const ThreadHandle handle = handle_.load();
    return handle == 0 ? 0 : exitCodeOf(handle);
}

// Priorities are the thread's scheduling niceness turned round, so that a higher number is
// more urgent; raising one above 0 needs the privilege to do so.
int TaskPool::priority() {
    if (idle()) return 0;
    const std::shared_ptr<ThreadRecord> record = findThreadRecord(handle_.load());
    if (!record) return 0;
#if defined(__linux__)
    return record->whileAlive([](long id) { return -getpriority(PRIO_PROCESS, id_t(id)); }).value_or(0);
#else
    return 0;
#endif
}

bool TaskPool::setPriority(int priority) {
    if (idle()) return false;
    const std::shared_ptr<ThreadRecord> record = findThreadRecord(handle_.load());
    if (!record) return false;
#if defined(__linux__)
    return record->whileAlive([priority](long id) { return setpriority(PRIO_PROCESS, id_t(id), -priority) == 0; }).value_or(false);
#else
    (void)priority;
    return false;
#endif
}

// Bit n of the mask allows processor n.
bool TaskPool::setAffinityMask(std::uint64_t mask) {
    if (idle() || mask == 0) return false;
    const std::shared_ptr<ThreadRecord> record = findThreadRecord(handle_.load());
    if (!record) return false;
#if defined(__linux__)
    return record->whileAlive([mask](long id) {
        cpu_set_t set;
        CPU_ZERO(&set);
        for (int cpu = 0; cpu < 64; ++cpu)
            if (mask >> cpu & 1) CPU_SET(cpu, &set);
        return sched_setaffinity(pid_t(id), sizeof set, &set) == 0;
    }).value_or(false);
#else
    return false;
#endif
}

ThreadHandle TaskPool::getHandle() const { return handle_.load(std::memory_order_relaxed); }

void TaskPool::attachHandle(ThreadHandle handle) {
    closeHandle();
    handle_.store(handle, std::memory_order_relaxed);
}

std::uint32_t TaskPool::getThreadId() const { return threadId_; }

}  // namespace ondrel
