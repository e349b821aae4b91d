#pragma once
// Hands work from any thread to the user-interface thread, where it runs in the order given.
// The work and everything it carries pass through our own lock, not through the event queue,
// so what a worker built is fully visible to the user-interface thread when the work runs; the
// event that wakes the queue carries nothing. Work still queued when the queue goes (it is the
// child of whatever it serves) is dropped with it.
#include <QObject>
#include <functional>
#include <mutex>
#include <vector>

class UiThreadQueue : public QObject {
    Q_OBJECT
public:
    // Created on the user-interface thread.
    explicit UiThreadQueue(QObject* parent);

    // Any thread.
    void post(std::function<void()> work);

private:
    Q_INVOKABLE void runPending();

    std::mutex mutex_;
    std::vector<std::function<void()>> pending_;  // guarded by mutex_
    bool wakePosted_ = false;                     // guarded by mutex_
};
