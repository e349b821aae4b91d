// The adapter between the search's workers and the lists: order, completeness, and the
// dropping of changes from searches older than a list's latest clear.
#include <QtTest>
#include <array>
#include <memory>
#include <thread>
#include <vector>

#include "list_adapter.h"

namespace {
ondrel::ResultRow row(const std::string& title) { return {title, "", "", "", "magnet:?xt=urn:btih:" + title}; }

struct Lists {
    std::array<std::unique_ptr<ResultListModel>, ondrel::resultListCount> owned;
    ListAdapter::Models models{};
    Lists() {
        for (size_t i = 0; i < owned.size(); ++i) {
            owned[i] = std::make_unique<ResultListModel>();
            models[i] = owned[i].get();
        }
    }
    QStringList titles(int list) const {
        QStringList out;
        for (int r = 0; r < models[size_t(list)]->rowCount(); ++r) out << models[size_t(list)]->cell(r, 0);
        return out;
    }
};
}  // namespace

class ListAdapterTest : public QObject {
    Q_OBJECT
private slots:
    void rowsFromManyWorkersArriveCompleteAndInEachWorkersOrder();
    void changesOlderThanTheListsLatestClearAreDropped();
    void aClearDiscardsTheRowsBeforeItAndListsOutOfRangeAreIgnored();
};

void ListAdapterTest::rowsFromManyWorkersArriveCompleteAndInEachWorkersOrder() {
    Lists lists;
    ListAdapter adapter(lists.models);
    constexpr int workers = 12, rowsEach = 700;
    std::vector<std::thread> threads;
    for (int engine = 1; engine <= workers; ++engine)
        threads.emplace_back([&adapter, engine] {
            adapter.clearList(engine, 1);
            for (int r = 0; r < rowsEach; ++r) {
                const ondrel::ResultRow cells = row(std::to_string(engine) + "-" + std::to_string(r));
                adapter.appendRow(engine, r, cells, 1);
                if (r <= 5) adapter.appendRow(0, r, cells, 1);
            }
        });
    for (std::thread& t : threads) t.join();
    QTRY_COMPARE(lists.models[0]->rowCount(), workers * 6);
    for (int engine = 1; engine <= workers; ++engine) {
        QTRY_COMPARE(lists.models[size_t(engine)]->rowCount(), rowsEach);
        const QStringList titles = lists.titles(engine);
        for (int r = 0; r < rowsEach; ++r) QCOMPARE(titles[r], QStringLiteral("%1-%2").arg(engine).arg(r));
        // In the combined list each engine's six rows keep their order among the others.
        QStringList own;
        for (const QString& title : lists.titles(0))
            if (title.startsWith(QStringLiteral("%1-").arg(engine))) own << title;
        QCOMPARE(own, titles.mid(0, 6));
    }
    QCOMPARE(lists.models[1]->cell(3, 4), QStringLiteral("magnet:?xt=urn:btih:1-3"));
}

void ListAdapterTest::changesOlderThanTheListsLatestClearAreDropped() {
    Lists lists;
    ListAdapter adapter(lists.models);
    adapter.clearList(1, 1);
    adapter.appendRow(1, 0, row("old before"), 1);
    QTRY_COMPARE(lists.models[1]->rowCount(), 1);
    // A new search clears the list; the cancelled one still has changes on their way.
    adapter.clearList(1, 2);
    adapter.appendRow(1, 1, row("old after"), 1);
    adapter.clearList(1, 1);
    adapter.appendRow(1, 0, row("new"), 2);
    adapter.appendRow(1, 2, row("old late"), 1);
    QTRY_COMPARE(lists.titles(1), QStringList{QStringLiteral("new")});
    // Applied in separate passes, the same holds.
    adapter.appendRow(1, 3, row("old later still"), 1);
    QTest::qWait(20);
    adapter.clearList(1, 1);
    QTest::qWait(20);
    QCOMPARE(lists.titles(1), QStringList{QStringLiteral("new")});
    // The combined list, never cleared, takes the rows of every search.
    adapter.appendRow(0, 0, row("first search"), 1);
    adapter.appendRow(0, 0, row("second search"), 2);
    QTRY_COMPARE(lists.titles(0), (QStringList{QStringLiteral("first search"), QStringLiteral("second search")}));
}

void ListAdapterTest::aClearDiscardsTheRowsBeforeItAndListsOutOfRangeAreIgnored() {
    Lists lists;
    ListAdapter adapter(lists.models);
    adapter.appendRow(5, 0, row("gone"), 3);
    adapter.clearList(5, 3);
    adapter.appendRow(5, 0, row("kept"), 3);
    adapter.appendRow(-1, 0, row("nowhere"), 3);
    adapter.appendRow(ondrel::resultListCount, 0, row("nowhere"), 3);
    adapter.clearList(ondrel::resultListCount, 4);
    QTRY_COMPARE(lists.titles(5), QStringList{QStringLiteral("kept")});
}

QTEST_MAIN(ListAdapterTest)
#include "list_adapter_test.moc"
