// The main window: its engine tabs, the one shown list, the resize arithmetic, the status texts.
#include <QAccessible>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>

#include "app/result_lists.h"
#include "gui_test_support.h"
#include "list_adapter.h"
#include "main_layout.h"

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheDesignedWindowAndMakesTheConfFolder();
    void givesEveryEngineFileATabInvalidOnesWithAnEmptyCaption();
    void switchingTabsShowsExactlyThatTabsList();
    void layoutFollowsTheWindowSize_data();
    void layoutFollowsTheWindowSize();
    void layoutTruncatesItsShares();
    void statusBarShowsTheCountsFromTheFirstTick();
    void exposesCellsAndControlsToAccessibility();
};

void MainWindowTest::startsWithTheDesignedWindowAndMakesTheConfFolder() {
    QTemporaryDir folder;
    MainWindow window(folder.path().toStdString(), {});
    QCOMPARE(window.windowTitle(), QStringLiteral("Ondrel聚合搜索V1.0"));
    QCOMPARE(window.size(), QSize(791, 538));
    QCOMPARE(window.pos(), QPoint(50, 50));
    QVERIFY(QDir(folder.filePath(QStringLiteral("conf"))).exists());
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabs"));
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(0), QStringLiteral("综合搜索"));
    QCOMPARE(window.shownListNumber(), 1);
    QCOMPARE(statusPart(window, 0)->text(), QStringLiteral("搜索状态:"));
    QCOMPARE(statusPart(window, 1)->text(), QStringLiteral("搜索结果:"));
    QCOMPARE(statusPart(window, 2)->text(), QString());
    // Every list has the five columns; the magnet column is there at width 0.
    for (int list = 0; list < ondrel::resultListCount; ++list) {
        QCOMPARE(window.resultModel(list)->columnCount(), 5);
        QCOMPARE(window.resultList(list)->header()->sectionSize(ResultListModel::magnetColumn), 0);
    }
    QCOMPARE(window.resultModel(0)->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("资源名"));
    QCOMPARE(window.resultModel(0)->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("日期"));
    QCOMPARE(window.toolbarAction(ToolbarButton::donation)->text(), QStringLiteral("捐助"));
    // Without an icon theme every button still shows a drawing of its own.
    for (int button = 0; button < 5; ++button) {
        QVERIFY(!window.toolbarAction(ToolbarButton(button))->icon().isNull());
        const QImage drawing = drawnToolbarIcon(ToolbarButton(button)).pixmap(32, 32).toImage();
        QCOMPARE(drawing.size(), QSize(32, 32));
        QCOMPARE(qAlpha(drawing.pixel(16, 16)), 255);
    }
}

void MainWindowTest::givesEveryEngineFileATabInvalidOnesWithAnEmptyCaption() {
    QTemporaryDir folder;
    writeEngineFile(folder, QStringLiteral("good"), engineLines("\xB2\xE2\xCA\xD4", "http://127.0.0.1:1"));  // "测试"
    writeEngineFile(folder, QStringLiteral("short"), {"Short", "http://127.0.0.1:1"});
    QFile(folder.filePath(QStringLiteral("conf/notes.txt"))).open(QIODevice::WriteOnly);
    MainWindow window(folder.path().toStdString(), {});
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabs"));
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(window.engineTable().count(), 2);
    QStringList captions{tabs->tabText(1), tabs->tabText(2)};
    captions.sort();
    QCOMPARE(captions, (QStringList{QString(), QStringLiteral("测试")}));
}

void MainWindowTest::switchingTabsShowsExactlyThatTabsList() {
    QTemporaryDir folder;
    for (const char* name : {"a", "b", "c"})
        writeEngineFile(folder, QString::fromLatin1(name), engineLines(name, "http://127.0.0.1:1"));
    MainWindow window(folder.path().toStdString(), {});
    window.show();
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabs"));
    for (int tab : {2, 0, 3, 1}) {
        tabs->setCurrentIndex(tab);
        QCOMPARE(window.shownListNumber(), tab + 1);
        for (int list = 0; list < ondrel::resultListCount; ++list)
            QCOMPARE(window.resultList(list)->isVisible(), list == tab);
    }
}

void MainWindowTest::layoutFollowsTheWindowSize_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<int>>("columns");
    // Outer widths whose lists (width - 7) have halves and tenths that are not whole.
    QTest::newRow("designed") << QSize(791, 538) << QList<int>{392, 78, 78, 235};
    QTest::newRow("wider") << QSize(1024, 700) << QList<int>{508, 101, 101, 305};
    QTest::newRow("odd") << QSize(633, 401) << QList<int>{313, 62, 62, 187};
}

void MainWindowTest::layoutFollowsTheWindowSize() {
    QFETCH(QSize, size);
    QFETCH(QList<int>, columns);
    QTemporaryDir folder;
    writeEngineFile(folder, QStringLiteral("a"), engineLines("a", "http://127.0.0.1:1"));
    MainWindow window(folder.path().toStdString(), {});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The size asked for is the outer one, frame included.
    window.resize(size - (window.frameGeometry().size() - window.size()));
    QTRY_COMPARE(window.frameGeometry().size(), size);
    const QSize outer = window.frameGeometry().size();
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabs"));
    QCOMPARE(tabs->geometry(), QRect(0, 86, outer.width(), outer.height() - 86 - 20));
    // Every list, shown or not, is laid out alike.
    for (int list : {0, 1, 50, 98}) {
        QTreeView* view = window.resultList(list);
        QCOMPARE(view->geometry(), QRect(0, 108, outer.width() - 7, outer.height() - 108 - 27 - 20));
        for (int column = 0; column < 4; ++column) QCOMPARE(view->header()->sectionSize(column), columns[column]);
        QCOMPARE(view->header()->sectionSize(4), 0);
    }
    // The status bar spans the window's inside; its parts are a quarter, a quarter and a half.
    auto* statusBar = window.findChild<QWidget*>(QStringLiteral("statusBar"));
    QCOMPARE(statusBar->geometry(), QRect(0, window.height() - 20, window.width(), 20));
    const int s = statusBar->width();
    QCOMPARE(statusPart(window, 0)->width(), s / 4);
    QCOMPARE(statusPart(window, 1)->width(), s / 4);
    QCOMPARE(statusPart(window, 2)->width(), s / 2);
}

void MainWindowTest::layoutTruncatesItsShares() {
    const MainLayout layout = computeMainLayout({QSize(792, 500), 86, 108, 20, 799});
    QCOMPARE(layout.resultList, QSize(785, 345));
    QCOMPARE(layout.columnWidths, (std::array<int, 4>{392, 78, 78, 235}));
    QCOMPARE(layout.statusPartWidths, (std::array<int, 3>{199, 199, 399}));
    // A window narrower than the margins gives negative shares, truncated toward zero.
    QCOMPARE(computeMainLayout({QSize(2, 100), 86, 108, 20, 0}).columnWidths, (std::array<int, 4>{-2, 0, 0, -1}));
}

void MainWindowTest::statusBarShowsTheCountsFromTheFirstTick() {
    QTemporaryDir folder;
    MainWindow window(folder.path().toStdString(), {});
    QTRY_COMPARE_WITH_TIMEOUT(statusPart(window, 0)->text(), QStringLiteral("搜索状态:0条线程"), 2000);
    QCOMPARE(statusPart(window, 1)->text(), QStringLiteral("搜索结果:0条结果"));
}

void MainWindowTest::exposesCellsAndControlsToAccessibility() {
    QTemporaryDir folder;
    writeEngineFile(folder, QStringLiteral("a"), engineLines("Alpha", "http://127.0.0.1:1"));
    MainWindow window(folder.path().toStdString(), {});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAccessible::setActive(true);
    ListAdapter* adapter = window.findChild<ListAdapter*>();
    adapter->appendRow(0, 0, {"Title", "1 GB", "3", "2024-01-02", "magnet:?xt=urn:btih:abc"}, 1);
    QTRY_COMPARE(window.resultModel(0)->rowCount(), 1);

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(window.resultList(0));
    QVERIFY(list && list->tableInterface());
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("搜索结果: 综合搜索"));
    QCOMPARE(list->tableInterface()->columnCount(), 5);
    QAccessibleInterface* magnet = list->tableInterface()->cellAt(0, 4);
    QVERIFY(magnet);
    QCOMPARE(magnet->text(QAccessible::Name), QStringLiteral("magnet:?xt=urn:btih:abc"));
    QCOMPARE(list->tableInterface()->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("Title"));

    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(window.findChild<QLineEdit*>(QStringLiteral("keywordBox")));
    QCOMPARE(box->text(QAccessible::Name), QStringLiteral("关键字"));
    QAccessibleInterface* part = QAccessible::queryAccessibleInterface(statusPart(window, 1));
    window.showSearchCounts();
    QCOMPARE(part->text(QAccessible::Name), QStringLiteral("搜索结果:0条结果"));

    // The tabs are a page-tab list whose children carry the captions.
    QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(window.findChild<QTabWidget*>(QStringLiteral("tabs")));
    QStringList captions;
    std::function<void(QAccessibleInterface*)> collect = [&](QAccessibleInterface* node) {
        if (node->role() == QAccessible::PageTab) captions << node->text(QAccessible::Name);
        for (int i = 0; i < node->childCount(); ++i) collect(node->child(i));
    };
    collect(tabs);
    QCOMPARE(captions, (QStringList{QStringLiteral("综合搜索"), QStringLiteral("Alpha")}));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
