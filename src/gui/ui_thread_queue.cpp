#include "ui_thread_queue.h"

UiThreadQueue::UiThreadQueue(QObject* parent) : QObject(parent) {}

void UiThreadQueue::post(std::function<void()> work) {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(work));
    if (wakePosted_) return;
    wakePosted_ = true;
    // Invoked by name, so the event holds nothing of ours: only the lock hands work over.
    QMetaObject::invokeMethod(this, "runPending", Qt::QueuedConnection);
}

void UiThreadQueue::runPending() {
    std::vector<std::function<void()>> work;
    {
        std::lock_guard lock(mutex_);
        work.swap(pending_);
        wakePosted_ = false;
    }
    for (const auto& run : work) run();
}
