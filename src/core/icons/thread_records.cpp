#include "icons/thread_records.h"

#include "app/event_pump.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <unordered_map>

#if defined(__linux__)
#include <pthread.h>
#include <unistd.h>
#endif

namespace ondrel {
namespace {

struct HandleTable {
    std::mutex lock;
    std::unordered_map<ThreadHandle, std::shared_ptr<ThreadRecord>> records;
    ThreadHandle next = 4;  // handles step by 4, as system handles do, and never wrap onto 0 or 1
};

// Never destroyed: a task pool in static storage may close its handle during process exit,
// after function-local statics are gone.
HandleTable& table() {
    static HandleTable* t = new HandleTable;
    return *t;
}

constexpr std::uint32_t sliceMs = 15;

}  // namespace

ThreadHandle openThreadHandle(std::shared_ptr<ThreadRecord> record) {
    HandleTable& t = table();
    std::lock_guard held(t.lock);
    while (t.next < 4 || t.records.contains(t.next)) t.next += 4;
    const ThreadHandle handle = t.next;
    t.next += 4;
    t.records.emplace(handle, std::move(record));
    return handle;
}

std::shared_ptr<ThreadRecord> findThreadRecord(ThreadHandle handle) {
    HandleTable& t = table();
    std::lock_guard held(t.lock);
    const auto found = t.records.find(handle);
    return found == t.records.end() ? nullptr : found->second;
}

bool closeThreadHandle(ThreadHandle handle) {
    HandleTable& t = table();
    std::lock_guard held(t.lock);
    return t.records.erase(handle) == 1;
}

WaitOutcome waitOnThread(ThreadHandle handle, std::optional<std::uint32_t> limitMs) {
    const std::shared_ptr<ThreadRecord> record = findThreadRecord(handle);
    if (!record) return WaitOutcome::failed;
    std::unique_lock held(record->lock);
    const auto ended = [&] { return record->ended; };
    if (!limitMs) {
        record->changed.wait(held, ended);
        return WaitOutcome::ended;
    }
    return record->changed.wait_for(held, std::chrono::milliseconds(*limitMs), ended) ? WaitOutcome::ended : WaitOutcome::timedOut;
}

// With a limit the first wait takes the odd milliseconds, so that the slices add up to it.
WaitOutcome waitOnThreadPumping(ThreadHandle handle, std::optional<std::uint32_t> limitMs) {
    WaitOutcome outcome;
    if (!limitMs) {
        outcome = waitOnThread(handle, sliceMs);
        while (outcome == WaitOutcome::timedOut) {
            pumpPendingMessages();
            outcome = waitOnThread(handle, sliceMs);
        }
        return outcome;
    }
    outcome = waitOnThread(handle, *limitMs % sliceMs);
    for (std::uint32_t slice = 0; slice < *limitMs / sliceMs && outcome == WaitOutcome::timedOut; ++slice) {
        pumpPendingMessages();
        outcome = waitOnThread(handle, sliceMs);
    }
    return outcome;
}

long currentSystemThreadId() {
#if defined(__linux__)
    return long(gettid());
#else
    return long(std::hash<std::thread::id>{}(std::this_thread::get_id()) | 1);
#endif
}

bool launchDetachedThread(std::function<void()> body, std::size_t stackBytes) {
#if defined(__linux__)
    // Standard threads always take the default stack; a requested size needs the attributes.
    if (stackBytes > 0) {
        pthread_attr_t attributes;
        pthread_attr_init(&attributes);
        pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
        // The platform refuses stacks below its minimum.
        pthread_attr_setstacksize(&attributes, std::max<std::size_t>(stackBytes, PTHREAD_STACK_MIN));
        auto* owned = new std::function<void()>(std::move(body));
        pthread_t thread;
        const int failed = pthread_create(&thread, &attributes, [](void* p) -> void* {
            const std::unique_ptr<std::function<void()>> run(static_cast<std::function<void()>*>(p));
            (*run)();
            return nullptr;
        }, owned);
        pthread_attr_destroy(&attributes);
        if (failed) delete owned;
        return !failed;
    }
#else
    (void)stackBytes;  // no portable way to size a standard thread's stack
#endif
    try {
        std::thread(std::move(body)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace ondrel
