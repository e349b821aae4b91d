// The engine check window against sites on 127.0.0.1: the rows it fills, the state each kind
// of answer gives, a second click, and closing the window while a check runs.
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <atomic>
#include <memory>

#include "engine_check_window.h"
#include "fixed_response_server.h"
#include "test_site.h"

using namespace ondrel;
using testsite::FixedResponseServer;

namespace {

EngineDefinition engine(const Text& name, const Text& siteUrl) {
    EngineDefinition definition;
    definition.name = name;
    definition.siteUrl = siteUrl;
    return definition;
}

const QString working = QStringLiteral("连接正常");
const QString failing = QStringLiteral("连接异常");

}  // namespace

class EngineCheckWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testsite::TestSite> site;
    std::atomic<int> afterHits{0};  // requests for /after, the row behind a slow one

    static QTreeWidget* list(EngineCheckWindow& window) {
        return window.findChild<QTreeWidget*>(QStringLiteral("engineList"));
    }
    static QString state(EngineCheckWindow& window, int row) { return list(window)->topLevelItem(row)->text(2); }
    static void clickCheck(EngineCheckWindow& window) {
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("checkButton")), Qt::LeftButton);
    }

private slots:
    void init() {
        site = std::make_unique<testsite::TestSite>();
        afterHits = 0;
        site->server().Get("/after", [this](const httplib::Request&, httplib::Response& response) {
            ++afterHits;
            response.set_content("after", "text/plain");
        });
        QVERIFY(site->start());
    }
    void cleanup() { site.reset(); }

    void listsEveryEngineWithAnEmptyState() {
        EngineCheckWindow window(EngineTable({engine("\xD6\xD0\xCE\xC4", "http://a.example"), engine("", ""),
                                              engine("b", "http://b.example")}),
                                 nullptr);
        QCOMPARE(window.windowTitle(), QStringLiteral("引擎检测"));
        QCOMPARE(window.size(), QSize(414, 429));
        QCOMPARE(window.pos(), QPoint(50, 50));
        QTreeWidget* rows = list(window);
        QCOMPARE(rows->headerItem()->text(0), QStringLiteral("名字"));
        QCOMPARE(rows->headerItem()->text(1), QStringLiteral("网址"));
        QCOMPARE(rows->headerItem()->text(2), QStringLiteral("状态"));
        QCOMPARE(rows->topLevelItemCount(), 3);
        QCOMPARE(rows->topLevelItem(0)->text(0), QStringLiteral("中文"));
        QCOMPARE(rows->topLevelItem(0)->text(1), QStringLiteral("http://a.example"));
        QCOMPARE(rows->topLevelItem(1)->text(0), QString());
        QCOMPARE(rows->topLevelItem(2)->text(1), QStringLiteral("http://b.example"));
        for (int row = 0; row < 3; ++row) QCOMPARE(state(window, row), QString());
    }

    void eachRowReadsByItsFinalStatus() {
        FixedResponseServer noReason("HTTP/1.1 200\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
        const std::string base = site->baseUrl();
        EngineCheckWindow window(EngineTable({
                                     engine("ok", base + "/status/200"),
                                     engine("no reason", noReason.baseUrl()),
                                     engine("missing", base + "/status/404"),
                                     engine("refused", testsite::refusedUrl()),
                                     engine("no address", ""),
                                 }),
                                 nullptr);
        window.show();
        clickCheck(window);
        QTRY_COMPARE_WITH_TIMEOUT(state(window, 4), failing, 20000);
        QCOMPARE(state(window, 0), working);
        QCOMPARE(state(window, 1), working);
        QCOMPARE(state(window, 2), failing);
        QCOMPARE(state(window, 3), failing);
    }

    void emptyTableChecksNothing() {
        EngineCheckWindow window(EngineTable(), nullptr);
        clickCheck(window);
        QTest::qWait(50);
        QCOMPARE(list(window)->topLevelItemCount(), 0);
    }

    void secondClickStopsTheFirstCheckAndStartsAgain() {
        const std::string base = site->baseUrl();
        EngineCheckWindow window(EngineTable({engine("slow", base + "/slow?ms=400"), engine("missing", base + "/status/404")}),
                                 nullptr);
        int writes = 0;
        connect(list(window), &QTreeWidget::itemChanged, this, [&](QTreeWidgetItem*, int column) {
            if (column == 2) ++writes;
        });
        clickCheck(window);
        QTest::qWait(100);
        clickCheck(window);
        QTRY_COMPARE_WITH_TIMEOUT(state(window, 1), failing, 20000);
        QCOMPARE(state(window, 0), working);
        QTest::qWait(600);  // time enough for a first check that went on to report as well
        QCOMPARE(writes, 2);
    }

    void closingMidCheckStopsTheWorker() {
        const std::string base = site->baseUrl();
        auto window = std::make_unique<EngineCheckWindow>(
            EngineTable({engine("ok", base + "/status/200"), engine("slow", base + "/slow?ms=300"),
                         engine("after", base + "/after")}),
            nullptr);
        window->show();
        clickCheck(*window);
        QTRY_COMPARE_WITH_TIMEOUT(state(*window, 0), working, 20000);
        window->close();
        window.reset();
        // A worker that went on would have had the slow answer by now and asked for the next row.
        QTest::qWait(700);
        QCOMPARE(afterHits.load(), 0);
    }
};

QTEST_MAIN(EngineCheckWindowTest)
#include "engine_check_window_test.moc"
