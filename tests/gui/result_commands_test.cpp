// The result lists' context menu and double click, on the shown list's selected row.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QTabWidget>

#include "gui_test_support.h"
#include "list_adapter.h"

namespace {
const char* const magnetA = "magnet:?xt=urn:btih:aaaa&dn=A";
const char* const magnetB = "magnet:?xt=urn:btih:bbbb&dn=B";
}  // namespace

class ResultCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void copiesTheCellsOfTheShownListsSelectedRow();
    void withNoRowSelectedCopiesEmptyTextAndOpensNothing();
    void downloadHandsOnlyMagnetLinksToTheSystem_data();
    void downloadHandsOnlyMagnetLinksToTheSystem();
    void rightClickOpensTheMenuAndDoubleClickDownloads();

private:
    void triggerMenuItem(const QString& caption);
    void selectRow(int list, int row);
    QTemporaryDir folder_;
    std::unique_ptr<MainWindow> window_;
};

void ResultCommandsTest::init() {
    writeEngineFile(folder_, QStringLiteral("one"), engineLines("one", "http://127.0.0.1:1"));
    writeEngineFile(folder_, QStringLiteral("two"), engineLines("two", "http://127.0.0.1:1"));
    window_ = std::make_unique<MainWindow>(folder_.path().toStdString(), ondrel::UpdateAddresses{});
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    ListAdapter* adapter = window_->findChild<ListAdapter*>();
    adapter->appendRow(0, 0, {"combined title", "", "", "", "magnet:?xt=urn:btih:0000"}, 1);
    adapter->appendRow(1, 0, {"first of one", "1 GB", "2", "2024", magnetA}, 1);
    adapter->appendRow(1, 1, {"second of one", "2 GB", "3", "2024", magnetB}, 1);
    adapter->appendRow(2, 0, {"first of two", "", "", "", "magnet:?xt=urn:btih:2222"}, 1);
    QTRY_COMPARE(window_->resultModel(2)->rowCount(), 1);
}

void ResultCommandsTest::cleanup() { window_.reset(); }

void ResultCommandsTest::triggerMenuItem(const QString& caption) {
    for (QAction* action : window_->findChild<QMenu*>(QStringLiteral("resultMenu"))->actions())
        if (action->text() == caption) return action->trigger();
    QFAIL(qPrintable(QStringLiteral("no menu item ") + caption));
}

void ResultCommandsTest::selectRow(int list, int row) {
    window_->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(list);
    QTreeView* view = window_->resultList(list);
    view->selectionModel()->select(view->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ResultCommandsTest::copiesTheCellsOfTheShownListsSelectedRow() {
    // Every list has row 0 selected; only the shown tab's counts.
    selectRow(2, 0);
    selectRow(0, 0);
    selectRow(1, 1);
    triggerMenuItem(QStringLiteral("复制资源名"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("second of one"));
    // The magnet column is invisible, yet its whole text is copied.
    triggerMenuItem(QStringLiteral("复制磁力链"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromLatin1(magnetB));
    OpenRecorder recorder({QStringLiteral("magnet")});
    triggerMenuItem(QStringLiteral("下载"));
    QCOMPARE(recorder.opened, QStringList{QString::fromLatin1(magnetB)});

    window_->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(0);
    triggerMenuItem(QStringLiteral("复制资源名"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("combined title"));
}

void ResultCommandsTest::withNoRowSelectedCopiesEmptyTextAndOpensNothing() {
    window_->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    triggerMenuItem(QStringLiteral("复制磁力链"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    triggerMenuItem(QStringLiteral("复制资源名"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    OpenRecorder recorder({QStringLiteral("magnet")});
    triggerMenuItem(QStringLiteral("下载"));
    QVERIFY(recorder.opened.isEmpty());
}

void ResultCommandsTest::downloadHandsOnlyMagnetLinksToTheSystem_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("opened");
    QTest::newRow("magnet") << QStringLiteral("magnet:?xt=urn:btih:cccc") << true;
    QTest::newRow("upper-case scheme") << QStringLiteral("MAGNET:?xt=urn:btih:CCCC") << true;
    QTest::newRow("file address") << QStringLiteral("file:///etc/passwd") << false;
    QTest::newRow("script address") << QStringLiteral("javascript:alert(1)") << false;
    QTest::newRow("web address") << QStringLiteral("http://127.0.0.1:1/run") << false;
    QTest::newRow("magnet without query") << QStringLiteral("magnet:xt=urn:btih:cccc") << false;
}

void ResultCommandsTest::downloadHandsOnlyMagnetLinksToTheSystem() {
    QFETCH(QString, link);
    QFETCH(bool, opened);
    window_->findChild<ListAdapter*>()->appendRow(2, 1, {"row", "", "", "", link.toStdString()}, 1);
    QTRY_COMPARE(window_->resultModel(2)->rowCount(), 2);
    selectRow(2, 1);
    OpenRecorder recorder({QStringLiteral("magnet"), QStringLiteral("file"), QStringLiteral("javascript"),
                           QStringLiteral("http")});
    triggerMenuItem(QStringLiteral("下载"));
    QCOMPARE(recorder.opened.size(), opened ? 1 : 0);
}

void ResultCommandsTest::rightClickOpensTheMenuAndDoubleClickDownloads() {
    window_->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
    QTreeView* view = window_->resultList(1);
    OpenRecorder recorder({QStringLiteral("magnet")});
    const QPoint firstRow = view->visualRect(view->model()->index(0, 0)).center();
    // A double click is a click followed by the double-click press.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, firstRow);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, firstRow);
    QCOMPARE(recorder.opened, QStringList{QString::fromLatin1(magnetA)});

    const QPoint secondRow = view->visualRect(view->model()->index(1, 0)).center();
    auto* menu = window_->findChild<QMenu*>(QStringLiteral("resultMenu"));
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, secondRow);
    QContextMenuEvent request(QContextMenuEvent::Mouse, secondRow, view->viewport()->mapToGlobal(secondRow));
    QCoreApplication::sendEvent(view->viewport(), &request);
    QTRY_VERIFY(menu->isVisible());
    menu->close();
    // The right button selected the row it was pressed on, for the menu's commands.
    triggerMenuItem(QStringLiteral("复制资源名"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("second of one"));
}

QTEST_MAIN(ResultCommandsTest)
#include "result_commands_test.moc"
