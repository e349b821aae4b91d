#pragma once
// What a task pool's handle names: the record of one thread, shared by the thread and by the
// process-wide handle table. The thread reports its start and its end in the record; the
// table owns a reference from creation until the handle is closed.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace ondrel {

struct ThreadRecord {
    std::mutex lock;
    std::condition_variable changed;
    bool released = false;   // a thread started suspended waits for this
    bool ended = false;
    std::uint32_t exitCode = 0;
    long systemId = 0;       // the kernel's id of the thread, once it runs; for its scheduling

    // Runs `use` with the lock held while the thread is alive; nothing when it has ended.
    template <typename Use>
    auto whileAlive(Use use) -> std::optional<decltype(use(0L))> {
        std::unique_lock held(lock);
        changed.wait(held, [this] { return systemId != 0 || ended; });
        if (ended) return std::nullopt;
        return use(systemId);
    }
};

using ThreadHandle = std::uint32_t;

// Numbers that never name a record: 0 (no thread) and 1 (a start in progress).
ThreadHandle openThreadHandle(std::shared_ptr<ThreadRecord> record);
std::shared_ptr<ThreadRecord> findThreadRecord(ThreadHandle handle);
// False when the number names no open handle.
bool closeThreadHandle(ThreadHandle handle);

enum class WaitOutcome : int { ended, timedOut, failed };
// Waits for the thread a handle names to end, at most `limitMs` when given; fails when the
// number names no open handle.
WaitOutcome waitOnThread(ThreadHandle handle, std::optional<std::uint32_t> limitMs);
// The same in 15 ms slices, processing the calling thread's pending events between them.
WaitOutcome waitOnThreadPumping(ThreadHandle handle, std::optional<std::uint32_t> limitMs);

// Starts `body` on a new thread that nobody joins; `stackBytes` 0 takes the default stack.
bool launchDetachedThread(std::function<void()> body, std::size_t stackBytes);
// The calling thread's id as the kernel knows it; never 0.
long currentSystemThreadId();

}  // namespace ondrel
