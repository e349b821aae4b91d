#include "engine_check_window.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <chrono>
#include <mutex>

#include "check/check_engines.h"
#include "program_text.h"
#include "ui_thread_queue.h"

using namespace ondrel;

// Carries a worker's reports to the window's thread for as long as the window lives; a worker
// that outlives its window reports into nothing.
class CheckReportRelay {
public:
    explicit CheckReportRelay(EngineCheckWindow* window) : window_(window) {}

    // Any thread.
    void report(unsigned run, int row, const Text& state) {
        const QString shown = fromProgramText(state);
        const std::lock_guard lock(mutex_);
        if (!window_) return;
        // Queued to the window's own queue: dropped if the window is gone before it runs.
        window_->reports_->post([window = window_, run, row, shown] { window->showState(run, row, shown); });
    }

    // The window's thread, before the window goes.
    void detach() {
        const std::lock_guard lock(mutex_);
        window_ = nullptr;
    }

private:
    std::mutex mutex_;
    EngineCheckWindow* window_;
};

EngineCheckWindow::EngineCheckWindow(const EngineTable& engines, QWidget* parent)
    : QDialog(parent), reports_(new UiThreadQueue(this)), relay_(std::make_shared<CheckReportRelay>(this)) {
    setWindowTitle(QStringLiteral("引擎检测"));
    setFixedSize(414, 429);
    move(50, 50);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("engineList"));
    list_->setGeometry(0, 0, 408, 369);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({QStringLiteral("名字"), QStringLiteral("网址"), QStringLiteral("状态")});
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(0, 150);
    list_->setColumnWidth(1, 150);
    list_->setColumnWidth(2, 100);

    button_ = new QPushButton(QStringLiteral("检测"), this);
    button_->setObjectName(QStringLiteral("checkButton"));
    button_->setGeometry(156, 376, 96, 24);
    connect(button_, &QPushButton::clicked, this, &EngineCheckWindow::startCheck);

    for (int number = 1; number <= engines.count(); ++number) {
        const EngineDefinition& engine = engines.engine(number);
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, fromProgramText(engine.name));
        item->setText(1, fromProgramText(engine.siteUrl));
        siteUrls_.push_back(engine.siteUrl);
    }
}

EngineCheckWindow::~EngineCheckWindow() {
    relay_->detach();
    for (auto& worker : workers_) worker.stop->cancel();
    // A cancelled request ends within moments; a worker that does not is left to finish on its
    // own rather than holding the window's thread.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    for (auto& worker : workers_) {
        while (!worker.finished->load() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (worker.finished->load())
            worker.thread.join();
        else
            worker.thread.detach();
    }
}

void EngineCheckWindow::startCheck() {
    for (auto& worker : workers_) worker.stop->cancel();
    joinFinishedWorkers();
    const unsigned run = ++currentRun_;
    Worker worker{{}, std::make_shared<Cancellation>(), std::make_shared<std::atomic<bool>>(false)};
    worker.thread = std::thread([siteUrls = siteUrls_, relay = relay_, stop = worker.stop,
                                 finished = worker.finished, run] {
        checkEngines(
            siteUrls, [&](int row, const Text& state) { relay->report(run, row, state); }, stop.get());
        finished->store(true);
    });
    workers_.push_back(std::move(worker));
}

void EngineCheckWindow::joinFinishedWorkers() {
    std::erase_if(workers_, [](Worker& worker) {
        if (!worker.finished->load()) return false;
        worker.thread.join();
        return true;
    });
}

void EngineCheckWindow::showState(unsigned run, int row, const QString& state) {
    if (run != currentRun_) return;
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) item->setText(2, state);
}
