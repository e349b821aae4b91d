#include "search/start_thread.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/event_pump.h"

#if defined(__unix__) || defined(__APPLE__)
#include <pthread.h>
#include <climits>
#define ONDREL_HAVE_PTHREAD 1
#endif

namespace ondrel {

struct ThreadHandle::State {
    std::mutex mutex;
    std::condition_variable changed;
    bool resumed = false;
    bool done = false;
    std::uint32_t exitCode = 0;
    std::uint64_t id = 0;
    ThreadRoutine routine;
    std::int32_t parameter = 0;
};

namespace {

std::atomic<std::uint64_t> lastThreadId{0};
constexpr int waitSliceMs = 15;

void runThread(const std::shared_ptr<ThreadHandle::State>& state) {
    {
        std::unique_lock lock(state->mutex);
        state->changed.wait(lock, [&] { return state->resumed; });
    }
    const std::uint32_t code = state->routine(state->parameter);
    // Whatever the routine holds goes before the end is announced, so a waiter that then
    // releases what the routine used finds nothing of it left.
    state->routine = nullptr;
    std::lock_guard lock(state->mutex);
    state->exitCode = code;
    state->done = true;
    state->changed.notify_all();
}

#ifdef ONDREL_HAVE_PTHREAD
void* pthreadEntry(void* raw) {
    auto* state = static_cast<std::shared_ptr<ThreadHandle::State>*>(raw);
    runThread(*state);
    delete state;
    return nullptr;
}

// A detached thread with the given stack; false when the system refuses it.
bool startWithStack(const std::shared_ptr<ThreadHandle::State>& state, std::size_t stack) {
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    // The system has a floor of its own below which it refuses a stack.
    pthread_attr_setstacksize(&attr, std::max<std::size_t>(stack, PTHREAD_STACK_MIN));
    auto* arg = new std::shared_ptr<ThreadHandle::State>(state);
    pthread_t thread;
    const bool started = pthread_create(&thread, &attr, pthreadEntry, arg) == 0;
    pthread_attr_destroy(&attr);
    if (!started) delete arg;
    return started;
}
#endif

}  // namespace

ThreadHandle launchThread(ThreadRoutine routine, std::int32_t parameter, bool suspended, std::size_t stack) {
    auto state = std::make_shared<ThreadHandle::State>();
    state->routine = std::move(routine);
    state->parameter = parameter;
    state->resumed = !suspended;
    state->id = ++lastThreadId;
    ThreadHandle handle;
#ifdef ONDREL_HAVE_PTHREAD
    if (stack != 0) {
        if (!startWithStack(state, stack)) return handle;
        handle.state_ = state;
        return handle;
    }
#endif
    try {
        std::thread([state] { runThread(state); }).detach();
    } catch (const std::system_error&) {
        return handle;
    }
    handle.state_ = state;
    return handle;
}

void ThreadHandle::resume() const {
    if (!state_) return;
    std::lock_guard lock(state_->mutex);
    state_->resumed = true;
    state_->changed.notify_all();
}

bool ThreadHandle::finished() const {
    if (!state_) return false;
    std::lock_guard lock(state_->mutex);
    return state_->done;
}

bool ThreadHandle::wait(std::optional<int> milliseconds) const {
    if (!state_) return false;
    std::unique_lock lock(state_->mutex);
    const auto done = [&] { return state_->done; };
    if (!milliseconds || *milliseconds < 0) {
        state_->changed.wait(lock, done);
        return true;
    }
    return state_->changed.wait_for(lock, std::chrono::milliseconds(*milliseconds), done);
}

std::optional<std::uint32_t> ThreadHandle::exitCode() const {
    if (!state_) return std::nullopt;
    std::lock_guard lock(state_->mutex);
    return state_->done ? std::optional(state_->exitCode) : std::nullopt;
}

std::uint64_t ThreadHandle::id() const { return state_ ? state_->id : 0; }

std::size_t reservedStackSize(std::size_t requested) {
    if (requested == 0) return 0;
    if (requested < 8192) return 8192;
    return requested - requested % 4096;
}

namespace {

// Waits as asked; true when the thread has ended within the wait.
bool waitAsAsked(const ThreadHandle& thread, const StartThreadOptions& options) {
    const bool unlimited = !options.waitMilliseconds || *options.waitMilliseconds == -1;
    if (!options.processEvents) return thread.wait(unlimited ? std::nullopt : options.waitMilliseconds);
    if (unlimited) {
        while (!thread.wait(waitSliceMs)) pumpPendingMessages();
        return true;
    }
    const int total = *options.waitMilliseconds;
    if (thread.wait(total % waitSliceMs)) return true;
    for (int slice = 0; slice < total / waitSliceMs; ++slice) {
        pumpPendingMessages();
        if (thread.wait(waitSliceMs)) return true;
    }
    return false;
}

}  // namespace

bool startThread(ThreadRoutine routine, const StartThreadOptions& options) {
    ThreadHandle thread = launchThread(std::move(routine), options.parameter, options.suspended,
                                       reservedStackSize(options.stackSize));
    if (!thread) {
        if (options.handleSlot) *options.handleSlot = ThreadHandle();
        return false;
    }
    if (options.threadIdSlot) *options.threadIdSlot = thread.id();
    if (options.wait && !options.suspended && waitAsAsked(thread, options)) {
        if (options.exitCodeSlot) *options.exitCodeSlot = *thread.exitCode();
        if (options.handleSlot) *options.handleSlot = ThreadHandle();
        return true;
    }
    if (options.handleSlot) *options.handleSlot = thread;
    return true;
}

}  // namespace ondrel
