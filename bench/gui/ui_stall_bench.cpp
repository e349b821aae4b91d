// How long the user-interface thread is held up while 20 engines each add 500 rows to the
// window at once, as fast as their threads can. A 1 ms timer on the user-interface thread
// records the longest gap between its ticks, in wall time and in the thread's own CPU time:
// on a busy machine the wall-time gap also holds the time the system gave other threads, the
// CPU time is what the window's own work took. The budget for a gap is 50 ms.
//   usage: bench-ui_stall [rounds]   (run with QT_QPA_PLATFORM=offscreen without a display)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "list_adapter.h"
#include "main_window.h"
#include "result_list_model.h"

namespace {

constexpr int engines = 20;
constexpr int rowsPerEngine = 500;
constexpr double stallBudgetMs = 50.0;

void writeEngines(const QTemporaryDir& folder) {
    QDir(folder.path()).mkpath(QStringLiteral("conf"));
    for (int i = 1; i <= engines; ++i) {
        QFile file(folder.filePath(QStringLiteral("conf/e%1.EG").arg(i, 2, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly)) return;
        file.write(QStringLiteral("engine %1\r\nhttp://127.0.0.1:1\r\n").arg(i).toLatin1());
        for (int line = 3; line <= 22; ++line) file.write("\r\n");
    }
}

std::string rowId(int engine, int row, ondrel::SearchId search) {
    return std::to_string(search) + "-" + std::to_string(engine) + "-" + std::to_string(row);
}

ondrel::ResultRow makeRow(const std::string& id) {
    // A detail page's usual shape: a long title, a size, a count, a date, a 60-byte link.
    return {"\xB2\xE2\xCA\xD4 Some.Release.Name.2024.1080p.WEB-DL.x264-" + id, "1.37 GB", "12", "2024-05-17",
            "magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef" + id};
}

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Round {
    double maxGapMs;
    double maxCpuGapMs;
    double fillMs;  // from the first row sent to the last row shown
};

Round runRound(MainWindow& window, ListAdapter& adapter, ondrel::SearchId search) {
    QElapsedTimer clock;
    double lastTick = 0, maxGap = 0, lastCpu = threadCpuMs(), maxCpuGap = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double now = double(clock.nsecsElapsed()) / 1e6;
        const double cpu = threadCpuMs();
        maxGap = std::max(maxGap, now - lastTick);
        maxCpuGap = std::max(maxCpuGap, cpu - lastCpu);
        lastTick = now;
        lastCpu = cpu;
    });
    clock.start();
    ticker.start(1);

    std::vector<std::thread> workers;
    for (int engine = 1; engine <= engines; ++engine)
        workers.emplace_back([&adapter, engine, search] {
            adapter.clearList(engine, search);
            for (int row = 0; row < rowsPerEngine; ++row) {
                const ondrel::ResultRow cells = makeRow(rowId(engine, row, search));
                adapter.appendRow(engine, row, cells, search);
                if (row <= 5) adapter.appendRow(0, row, cells, search);
            }
        });
    // Done when every list's last row is this round's.
    auto landed = [&] {
        for (int engine = 1; engine <= engines; ++engine) {
            const QString last = window.resultModel(engine)->cell(rowsPerEngine - 1, 0);
            if (!last.endsWith(QString::fromStdString(rowId(engine, rowsPerEngine - 1, search)))) return false;
        }
        return true;
    };
    while (!landed()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double fill = double(clock.nsecsElapsed()) / 1e6;
    for (std::thread& worker : workers) worker.join();
    ticker.stop();
    return {maxGap, maxCpuGap, fill};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir folder;
    writeEngines(folder);
    MainWindow window(folder.path().toStdString(), {});
    window.show();
    // The list in view is an engine's: every row that lands there is laid out and painted.
    window.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
    ListAdapter& adapter = *window.findChild<ListAdapter*>();
    QCoreApplication::processEvents();

    double worstGap = 0, worstCpuGap = 0, totalFill = 0;
    for (int round = 1; round <= rounds; ++round) {
        const Round r = runRound(window, adapter, ondrel::SearchId(round));
        std::printf("round %d: longest stall %.1f ms (%.1f ms of it the window's own work), all %d rows shown after "
                    "%.1f ms\n",
                    round, r.maxGapMs, r.maxCpuGapMs, engines * rowsPerEngine, r.fillMs);
        worstGap = std::max(worstGap, r.maxGapMs);
        worstCpuGap = std::max(worstCpuGap, r.maxCpuGapMs);
        totalFill += r.fillMs;
    }
    std::printf("worst stall %.1f ms = %.2f x the %.0f ms budget (own work %.1f ms = %.2f x); mean fill %.1f ms for "
                "%d rows\n",
                worstGap, worstGap / stallBudgetMs, stallBudgetMs, worstCpuGap, worstCpuGap / stallBudgetMs,
                totalFill / rounds, engines * rowsPerEngine);
    return worstGap <= stallBudgetMs ? 0 : 1;
}
