#include "update_check_runner.h"

#include "app/update_check.h"

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
        // Queued to this object: delivered on its thread, and dropped if it is gone by then.
        QMetaObject::invokeMethod(this, [this, newVersion] { emit finished(newVersion); }, Qt::QueuedConnection);
    });
}
