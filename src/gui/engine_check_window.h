#pragma once
// The engine check window: every engine of the table with its site address, and "检测", which
// tests the sites one after another on a worker thread and writes each row's state as its
// answer comes.
#include <QDialog>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "engines/engine_definition.h"
#include "web/cancellation.h"

class QPushButton;
class QTreeWidget;
class CheckReportRelay;
class UiThreadQueue;

class EngineCheckWindow : public QDialog {
    Q_OBJECT

public:
    EngineCheckWindow(const ondrel::EngineTable& engines, QWidget* parent);
    // Stops the running check; its remaining reports go nowhere.
    ~EngineCheckWindow() override;

public slots:
    // Starts a check of every row; a check still running is stopped first.
    void startCheck();

private:
    friend class CheckReportRelay;
    struct Worker {
        std::thread thread;
        std::shared_ptr<ondrel::Cancellation> stop;
        std::shared_ptr<std::atomic<bool>> finished;
    };

    void showState(unsigned run, int row, const QString& state);
    void joinFinishedWorkers();

    QTreeWidget* list_ = nullptr;
    QPushButton* button_ = nullptr;
    std::vector<ondrel::Text> siteUrls_;
    UiThreadQueue* reports_;  // carries the relay's reports to this window's thread
    std::shared_ptr<CheckReportRelay> relay_;
    unsigned currentRun_ = 0;  // reports of earlier runs are dropped
    std::vector<Worker> workers_;
};
