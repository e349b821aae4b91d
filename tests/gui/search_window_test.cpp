// Searching from the window against the generated magnet site on the loopback: rows in the
// engine lists as they arrive, the first six of each engine in the combined list, a second
// search, Stop, and closing the window in the middle of a search.
#include <QLineEdit>
#include <QPushButton>

#include "gui_test_support.h"
#include "magnet_site.h"
#include "test_site.h"

using ondrel::testsite::MagnetFlavor;
using ondrel::testsite::MagnetItem;
using ondrel::testsite::MagnetSite;

namespace {
// A title as a list cell shows it: every line break comes back as CR LF.
QString cellTitle(const MagnetItem& item) {
    return QString::fromStdString(item.title).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QStringList titles(const ResultListModel& list) {
    QStringList out;
    for (int row = 0; row < list.rowCount(); ++row) out << list.cell(row, ResultListModel::titleColumn);
    return out;
}
}  // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fillsEngineListsAndTheFirstSixOfEachInTheCombinedList();
    void aSecondSearchKeepsTheCombinedRows();
    void stopEndsTheRunningSearch();
    void aReplacedSearchLeavesNothingInTheNewLists();
    void closingTheWindowDuringASearch();

private:
    void search(const QString& keyword);
    // Expected titles of an engine for a keyword, in the site's order.
    QStringList expected(const char* keyword) const;

    // The site serves the magnet pages' routes, so it goes first.
    MagnetSite magnets_;
    ondrel::testsite::TestSite site_;
    QTemporaryDir folder_;
    std::unique_ptr<MainWindow> window_;
};

void SearchWindowTest::initTestCase() {
    magnets_.addRoutes(site_.server());
    QVERIFY(site_.start());
    // Engine 1 reads GBK pages, engine 2 UTF-8 ones; the loader takes them in name order.
    for (auto [file, flavor] : {std::pair{"1-gbk", MagnetFlavor::gbk}, std::pair{"2-utf8", MagnetFlavor::utf8}}) {
        QFile out(folder_.filePath(QStringLiteral("conf/%1.EG").arg(QLatin1String(file))));
        QDir(folder_.path()).mkpath(QStringLiteral("conf"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QByteArray::fromStdString(MagnetSite::engineFile(flavor, site_.baseUrl())));
    }
}

void SearchWindowTest::init() {
    magnets_.setLatency(0);
    window_ = std::make_unique<MainWindow>(folder_.path().toStdString(), ondrel::UpdateAddresses{});
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void SearchWindowTest::cleanup() { window_.reset(); }

void SearchWindowTest::search(const QString& keyword) {
    auto* box = window_->findChild<QLineEdit*>(QStringLiteral("keywordBox"));
    box->clear();
    QTest::keyClicks(box, keyword);
    window_->findChild<QPushButton*>(QStringLiteral("searchButton"))->click();
}

QStringList SearchWindowTest::expected(const char* keyword) const {
    QStringList out;
    for (const MagnetItem& item : magnets_.matches(keyword)) out << cellTitle(item);
    return out;
}

void SearchWindowTest::fillsEngineListsAndTheFirstSixOfEachInTheCombinedList() {
    const QStringList want = expected("Ubuntu");
    QVERIFY(want.size() >= 7);
    // Enter in the keyword box searches, as the button does.
    auto* box = window_->findChild<QLineEdit*>(QStringLiteral("keywordBox"));
    QTest::keyClicks(box, QStringLiteral("Ubuntu"));
    QTest::keyClick(box, Qt::Key_Return);
    for (int engine : {1, 2}) QTRY_COMPARE_WITH_TIMEOUT(titles(*window_->resultModel(engine)), want, 30000);

    const ResultListModel& first = *window_->resultModel(1);
    const MagnetItem item = magnets_.matches("Ubuntu").front();
    QCOMPARE(first.cell(0, 1), QString::fromStdString(item.size));
    QCOMPARE(first.cell(0, 2), QString::number(item.fileCount));
    QCOMPARE(first.cell(0, 3), QString::fromStdString(item.date));
    QVERIFY(first.cell(0, 4).startsWith(QStringLiteral("magnet:?xt=urn:btih:") + QString::fromStdString(item.hash)));

    // Six rows of each engine in the combined list, in each engine's order; the seventh only
    // in its own list.
    const QStringList combined = titles(*window_->resultModel(0));
    QCOMPARE(combined.size(), 12);
    QCOMPARE(combined.count(want[0]), 2);
    QVERIFY(!combined.contains(want[6]));
    QStringList sorted = combined;
    sorted.sort();
    QStringList firstSix = want.mid(0, 6) + want.mid(0, 6);
    firstSix.sort();
    QCOMPARE(sorted, firstSix);

    window_->showSearchCounts();
    QCOMPARE(statusPart(*window_, 0)->text(), QStringLiteral("搜索状态:2条线程"));
    QCOMPARE(statusPart(*window_, 1)->text(), QStringLiteral("搜索结果:%1条结果").arg(2 * want.size()));
}

void SearchWindowTest::aSecondSearchKeepsTheCombinedRows() {
    search(QStringLiteral("Ubuntu"));
    QTRY_COMPARE_WITH_TIMEOUT(window_->resultModel(0)->rowCount(), 12, 30000);
    const QStringList before = titles(*window_->resultModel(0));
    search(QStringLiteral("Debian"));
    const QStringList want = expected("Debian");
    for (int engine : {1, 2}) QTRY_COMPARE_WITH_TIMEOUT(titles(*window_->resultModel(engine)), want, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(window_->resultModel(0)->rowCount(), 24, 30000);
    QCOMPARE(titles(*window_->resultModel(0)).mid(0, 12), before);
}

void SearchWindowTest::stopEndsTheRunningSearch() {
    magnets_.setLatency(150);
    search(QStringLiteral("Ubuntu"));
    QTRY_VERIFY_WITH_TIMEOUT(window_->resultModel(1)->rowCount() >= 1, 30000);
    window_->findChild<QPushButton*>(QStringLiteral("stopButton"))->click();
    // What was found before Stop may still be on its way to the list; nothing comes after.
    QTest::qWait(300);
    const int rows = window_->resultModel(1)->rowCount() + window_->resultModel(2)->rowCount();
    QTest::qWait(1200);
    QCOMPARE(window_->resultModel(1)->rowCount() + window_->resultModel(2)->rowCount(), rows);
    QVERIFY(rows < 2 * expected("Ubuntu").size());
    // The thread count still tells how many workers the search started.
    window_->showSearchCounts();
    QCOMPARE(statusPart(*window_, 0)->text(), QStringLiteral("搜索状态:2条线程"));
}

void SearchWindowTest::aReplacedSearchLeavesNothingInTheNewLists() {
    magnets_.setLatency(40);
    search(QStringLiteral("Ubuntu"));
    QTRY_VERIFY_WITH_TIMEOUT(window_->resultModel(1)->rowCount() >= 2, 30000);
    search(QStringLiteral("Debian"));
    const QStringList want = expected("Debian");
    for (int engine : {1, 2}) QTRY_COMPARE_WITH_TIMEOUT(titles(*window_->resultModel(engine)), want, 30000);
    QTest::qWait(500);
    for (int engine : {1, 2}) QCOMPARE(titles(*window_->resultModel(engine)), want);
}

void SearchWindowTest::closingTheWindowDuringASearch() {
    magnets_.setLatency(300);
    search(QStringLiteral("Ubuntu"));
    QTest::qWait(100);
    // The workers' requests are aborted and the window goes without waiting for the pages.
    QElapsedTimer clock;
    clock.start();
    window_.reset();
    qInfo("window closed %lld ms into a search's slow pages", clock.elapsed());
    magnets_.setLatency(0);
}

QTEST_MAIN(SearchWindowTest)
#include "search_window_test.moc"
