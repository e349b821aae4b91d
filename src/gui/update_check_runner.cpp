#include "update_check_runner.h"

#include "app/update_check.h"
#include "ui_thread_queue.h"

UpdateCheckRunner::UpdateCheckRunner(QObject* parent) : QObject(parent), uiThread_(new UiThreadQueue(this)) {}

UpdateCheckRunner::~UpdateCheckRunner() {
    cancellation_->cancel();
    if (thread_.joinable()) thread_.join();
}

void UpdateCheckRunner::start(const ondrel::Text& versionUrl) {
    if (versionUrl.empty() || thread_.joinable()) return;
    thread_ = std::thread([this, versionUrl, cancellation = cancellation_] {
        ondrel::CancellationScope scope(cancellation);
        const bool newVersion = ondrel::newVersionAvailable(versionUrl);
        if (cancellation->cancelled()) return;
        // The destructor joins this thread before the queue goes, so the queue is still there.
        uiThread_->post([this, newVersion] { emit finished(newVersion); });
    });
}
