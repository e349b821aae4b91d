#pragma once
// Starting a thread with the program's general options: a handle the caller may keep, a
// suspended start, waiting for the end with or without processing pending events, the exit
// code, the stack size and the thread's id.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace ondrel {

using ThreadRoutine = std::function<std::uint32_t(std::int32_t parameter)>;

// A started thread. Copies share it; dropping every copy closes the handle, which does not
// stop the thread: it runs on to its end.
class ThreadHandle {
public:
    ThreadHandle() = default;
    explicit operator bool() const { return bool(state_); }

    // Lets a thread started suspended run.
    void resume() const;
    bool finished() const;
    // Waits for the thread's end, at most `milliseconds` when given; true when it has ended.
    bool wait(std::optional<int> milliseconds = std::nullopt) const;
    // The routine's result once the thread has ended.
    std::optional<std::uint32_t> exitCode() const;
    std::uint64_t id() const;

    struct State;

private:
    friend ThreadHandle launchThread(ThreadRoutine, std::int32_t, bool, std::size_t);
    std::shared_ptr<State> state_;
};

struct StartThreadOptions {
    std::int32_t parameter = 0;
    ThreadHandle* handleSlot = nullptr;        // receives the handle; cleared when the start fails
    bool suspended = false;                    // start only on resume()
    bool wait = false;                         // return only when the thread has ended (or the wait ran out)
    std::optional<int> waitMilliseconds;       // no value or -1: no limit
    std::uint32_t* exitCodeSlot = nullptr;     // the exit code, when the wait saw the end
    bool processEvents = false;                // process pending events while waiting, in 15 ms slices
    std::size_t stackSize = 0;                 // 0: the system's default
    std::uint64_t* threadIdSlot = nullptr;
};

// The stack reserved for a requested size: 0 is the default, below 8192 it is 8192, otherwise
// the size rounded down to a multiple of 4096.
std::size_t reservedStackSize(std::size_t requested);

// False when the thread could not be started (the handle slot is then cleared).
bool startThread(ThreadRoutine routine, const StartThreadOptions& options = {});

}  // namespace ondrel
