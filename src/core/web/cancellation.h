#pragma once
// Cancelling the requests of a search that has been replaced or stopped. A worker opens a
// CancellationScope for its run; every request made on that thread while the scope lives
// watches the token and is aborted (a failed exchange) soon after cancel() is called.
#include <atomic>
#include <memory>

namespace ondrel {

class Cancellation {
public:
    void cancel() { cancelled_.store(true, std::memory_order_release); }
    bool cancelled() const { return cancelled_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> cancelled_{false};
};

using CancellationToken = std::shared_ptr<const Cancellation>;

// The token of the innermost scope open on the calling thread, or null.
const Cancellation* currentCancellation();
bool currentlyCancelled();

class CancellationScope {
public:
    explicit CancellationScope(CancellationToken token);
    ~CancellationScope();
    CancellationScope(const CancellationScope&) = delete;
    CancellationScope& operator=(const CancellationScope&) = delete;

private:
    CancellationToken token_;
    const Cancellation* outer_;
};

}  // namespace ondrel
