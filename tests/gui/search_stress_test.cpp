// Twenty engines searched anew every 50 ms for ten seconds from the window, then one search run
// to its end, then Stop, then closing the window. The last search's lists must be exactly those
// of a quiet search: nothing of the replaced searches in the engine lists, and in the combined
// list the last search's rows after everything older.
#include <QLineEdit>
#include <QPushButton>
#include <map>

#include "gui_test_support.h"
#include "magnet_site.h"
#include "test_site.h"

using ondrel::testsite::MagnetFlavor;
using ondrel::testsite::MagnetItem;
using ondrel::testsite::MagnetSite;

namespace {
constexpr int engineCount = 20;
constexpr int combinedPerEngine = 6;

// A row as the list shows it: every line break of a title comes back as CR LF.
QStringList shownRow(const MagnetItem& item) {
    return {QString::fromStdString(item.title).replace(QLatin1Char('\n'), QStringLiteral("\r\n")),
            QString::fromStdString(item.size), QString::number(item.fileCount), QString::fromStdString(item.date),
            QStringLiteral("magnet:?xt=urn:btih:") + QString::fromStdString(item.hash)};
}

QList<QStringList> rowsOf(const ResultListModel& list, int from = 0) {
    QList<QStringList> rows;
    for (int row = from; row < list.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list.columnCount(); ++column) cells << list.cell(row, column);
        rows << cells;
    }
    return rows;
}

std::map<QStringList, int> tally(const QList<QStringList>& rows) {
    std::map<QStringList, int> counts;
    for (const QStringList& row : rows) ++counts[row];
    return counts;
}
}  // namespace

class SearchStressTest : public QObject {
    Q_OBJECT
private slots:
    void newSearchEvery50msForTenSecondsThenStopAndClose();
};

void SearchStressTest::newSearchEvery50msForTenSecondsThenStopAndClose() {
    // The site serves the magnet pages' routes, so it goes first.
    MagnetSite magnets;
    ondrel::testsite::TestSite site;
    magnets.addRoutes(site.server());
    QVERIFY(site.start());
    magnets.setLatency(5);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("conf")));
    for (int engine = 0; engine < engineCount; ++engine) {
        QFile out(folder.filePath(QStringLiteral("conf/engine-%1.EG").arg(engine, 2, 10, QLatin1Char('0'))));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QByteArray::fromStdString(MagnetSite::engineFile(MagnetFlavor(engine % 3), site.baseUrl())));
    }

    auto window = std::make_unique<MainWindow>(folder.path().toStdString(), ondrel::UpdateAddresses{});
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->engineTable().count(), engineCount);
    auto* keywordBox = window->findChild<QLineEdit*>(QStringLiteral("keywordBox"));
    auto* searchButton = window->findChild<QPushButton*>(QStringLiteral("searchButton"));

    // The replaced searches look for other things than the last one, so a row of theirs cannot
    // pass for one of the last search's.
    const QStringList replacedKeywords = {QStringLiteral("debian"), QStringLiteral("blender"), QStringLiteral("noto")};
    QElapsedTimer clock;
    clock.start();
    int searches = 0;
    while (clock.elapsed() < 10000) {
        keywordBox->setText(replacedKeywords[searches % replacedKeywords.size()]);
        searchButton->click();
        ++searches;
        QTest::qWait(50);
    }
    keywordBox->setText(QStringLiteral("ubuntu"));
    searchButton->click();
    ++searches;

    QList<QStringList> want;
    for (const MagnetItem& item : magnets.matches("ubuntu")) want << shownRow(item);
    QVERIFY(want.size() > combinedPerEngine);
    std::map<QStringList, int> combinedWant;
    for (int row = 0; row < combinedPerEngine; ++row) combinedWant[want[row]] = engineCount;
    const auto lastSearchRows = [&](const QList<QStringList>& rows) {
        QList<QStringList> found;
        for (const QStringList& row : rows)
            if (row[0].contains(QStringLiteral("Ubuntu"))) found << row;
        return found;
    };
    const auto expectLastSearchExact = [&] {
        for (int engine = 1; engine <= engineCount; ++engine) QCOMPARE(rowsOf(*window->resultModel(engine)), want);
        // Each engine's first six, after every older row of the combined list; the engines'
        // turns interleave as their pages arrive.
        const QList<QStringList> combined = rowsOf(*window->resultModel(0));
        const QList<QStringList> tail = combined.mid(combined.size() - engineCount * combinedPerEngine);
        QCOMPARE(tally(tail), combinedWant);
        QCOMPARE(lastSearchRows(combined).size(), tail.size());
    };

    for (int engine = 1; engine <= engineCount; ++engine)
        QTRY_COMPARE_WITH_TIMEOUT(rowsOf(*window->resultModel(engine)), want, 120000);
    QTRY_COMPARE_WITH_TIMEOUT(tally(lastSearchRows(rowsOf(*window->resultModel(0)))), combinedWant, 30000);
    expectLastSearchExact();

    window->findChild<QPushButton*>(QStringLiteral("stopButton"))->click();
    QTest::qWait(300);
    expectLastSearchExact();

    clock.restart();
    window->close();
    window.reset();
    qInfo("%d searches; the window closed in %lld ms", searches, clock.elapsed());
}

QTEST_MAIN(SearchStressTest)
#include "search_stress_test.moc"
