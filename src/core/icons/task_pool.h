#pragma once
// A task pool owns at most one background thread at a time: it starts a routine on a new
// thread, waits for it in three ways (plainly, in 15 ms slices that keep the calling thread's
// window events flowing, and message-aware), reads its exit code and reaches its scheduling.
// The thread's handle is kept in an atomic field, so two callers can never start a thread in
// the same object or close the same handle twice.
//
// A handle is a number naming a thread record in a process-wide table, as a system handle
// names a kernel object: it stays valid until it is closed, after the thread has ended too,
// and a wait on a number that names nothing (0, the start marker 1, a closed handle) fails
// instead of touching freed memory.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace ondrel {

enum class WaitOutcome : int;
using ThreadHandle = std::uint32_t;
// What a thread routine receives and what it returns as its exit code.
using TaskRoutine = std::function<std::uint32_t(std::uint32_t argument)>;

// The exit code of a thread that is still running.
constexpr std::uint32_t stillActive = 259;
// The exit code of a routine that ended by throwing.
constexpr std::uint32_t routineFailed = 1;

// The optional arguments of start; an omitted switch or number is false or 0.
struct StartOptions {
    std::uint32_t argument = 0;                // handed to the routine
    ThreadHandle* handleOut = nullptr;         // receives the handle, or 0
    bool suspended = false;                    // the routine waits for resume
    bool waitForEnd = false;                   // wait for the thread (not when suspended)
    std::optional<std::int32_t> timeoutMs;     // limit of that wait; omitted or -1: none
    std::uint32_t* exitCodeOut = nullptr;      // the exit code when the wait sees the end
    bool pumpMessages = false;                 // wait in 15 ms slices, processing events between
    std::optional<std::uint32_t> stackSize;    // stack of the new thread; omitted or 0: default
};

// The stack a stackSize asks for: at least 8192 bytes, otherwise rounded down to whole 4096-byte
// pages; 0 for the platform's default (no size, or 0).
std::size_t threadStackReservation(std::optional<std::uint32_t> stackSize);

class TaskPool {
public:
    TaskPool() = default;
    // Closes the handle; the thread itself runs on until it ends.
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // True when no thread is running. A thread found ended is forgotten, and its handle
    // closed when `closeFinished` is true.
    bool checkIdle(bool closeFinished = false);
    bool isRunning();
    // False when a thread still runs (nothing changes) or the thread could not be created.
    bool start(TaskRoutine routine, const StartOptions& options = {});
    // As start, with the routine given as a code address; 0 is refused before anything else,
    // and the new thread's id is not recorded.
    bool startAtAddress(std::uintptr_t address, const StartOptions& options = {});

    // True when the thread has ended (or there is none), false on time-out.
    bool wait(std::optional<std::int32_t> timeoutMs = {});
    // The same, processing the calling thread's pending events every 15 ms.
    bool waitPumping(std::optional<std::int32_t> timeoutMs = {});
    bool waitWithMessages(std::optional<std::int32_t> timeoutMs = {});

    bool suspend();
    bool resume();
    bool terminate();
    bool closeHandle();

    // 0 without a thread, stillActive while it runs, then the routine's result.
    std::uint32_t exitCode();
    int priority();
    bool setPriority(int priority = 0);
    bool setAffinityMask(std::uint64_t mask = 0);

    ThreadHandle getHandle() const;
    // Closes the current handle and takes ownership of `handle`.
    void attachHandle(ThreadHandle handle);
    std::uint32_t getThreadId() const;

private:
    bool startRoutine(TaskRoutine routine, const StartOptions& options, bool recordThreadId);
    bool readWaitOutcome(WaitOutcome outcome);
    // Clears both fields; the handle that was held is the caller's to close or drop.
    ThreadHandle forgetHandle();
    bool idle() { return checkIdle(false); }

    std::atomic<ThreadHandle> handle_{0};
    std::atomic<std::uint32_t> threadId_{0};
};

}  // namespace ondrel
