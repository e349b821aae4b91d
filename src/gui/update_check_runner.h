#pragma once
// Runs the update check away from the user-interface thread: offline, the exchange can take
// long, and the window must take input meanwhile. The answer arrives as a signal on the
// user-interface thread.
#include <QObject>
#include <memory>
#include <thread>

#include "text/text.h"
#include "web/cancellation.h"

class UiThreadQueue;

class UpdateCheckRunner : public QObject {
    Q_OBJECT
public:
    explicit UpdateCheckRunner(QObject* parent);
    // Aborts a check still in flight and waits for its thread, which the abort ends quickly.
    ~UpdateCheckRunner() override;

    // Once; an empty address makes no check and reports nothing.
    void start(const ondrel::Text& versionUrl);

signals:
    void finished(bool newVersion);

private:
    UiThreadQueue* uiThread_;
    std::shared_ptr<ondrel::Cancellation> cancellation_ = std::make_shared<ondrel::Cancellation>();
    std::thread thread_;
};
