// The tab control's side of the site icons: calls from the icon task's thread land on the
// user-interface thread, a new image list redraws every tab, and after detach nothing lands.
#include <QTabWidget>
#include <QtTest>
#include <thread>

#include "tab_icon_adapter.h"

namespace {
ondrel::TabImage filled(std::uint32_t argb) {
    ondrel::TabImage image;
    image.argb.assign(image.argb.size(), argb);
    return image;
}

QRgb centreOf(const QIcon& icon) { return icon.pixmap(16, 16).toImage().pixel(8, 8); }

// Runs the calls on a thread of their own, as the icon task does.
template <class Calls>
void fromWorker(Calls calls) {
    std::thread worker(calls);
    worker.join();
}
}  // namespace

class TabIconAdapterTest : public QObject {
    Q_OBJECT
private slots:
    void callsFromAnotherThreadSetTheTabsImages();
    void afterDetachCallsChangeNothing();
};

void TabIconAdapterTest::callsFromAnotherThreadSetTheTabsImages() {
    QTabWidget tabs;
    for (const char* caption : {"all", "one", "two"}) tabs.addTab(new QWidget, QString::fromLatin1(caption));
    TabIconAdapter adapter(&tabs);
    const ondrel::TabImage blank = filled(0x00FFFFFF), red = filled(0xFFFF0000), blue = filled(0xFF0000FF);
    fromWorker([&] {
        adapter.setImageList({blank, red});
        adapter.setTabImage(1, 1);
        // The image list does not hold image 2 yet; a tab the control lacks changes nothing.
        adapter.setTabImage(2, 2);
        adapter.setTabImage(9, 1);
    });
    QTRY_VERIFY(!tabs.tabIcon(1).isNull());
    QCOMPARE(centreOf(tabs.tabIcon(1)), qRgb(255, 0, 0));
    QVERIFY(tabs.tabIcon(0).isNull());
    QVERIFY(tabs.tabIcon(2).isNull());

    // The whole list again, with a new image 1 and image 2 now there: both tabs redraw.
    fromWorker([&] { adapter.setImageList({blank, blue, red}); });
    QTRY_COMPARE(centreOf(tabs.tabIcon(1)), qRgb(0, 0, 255));
    QVERIFY(!tabs.tabIcon(2).isNull());
    QCOMPARE(centreOf(tabs.tabIcon(2)), qRgb(255, 0, 0));
}

void TabIconAdapterTest::afterDetachCallsChangeNothing() {
    auto tabs = std::make_unique<QTabWidget>();
    tabs->addTab(new QWidget, QStringLiteral("all"));
    tabs->addTab(new QWidget, QStringLiteral("one"));
    TabIconAdapter adapter(tabs.get());
    fromWorker([&] {
        adapter.setImageList({filled(0), filled(0xFF00FF00)});
        adapter.setTabImage(1, 1);
    });
    // Detached with the calls still queued: they must not touch the tabs.
    adapter.detach();
    QTest::qWait(50);
    QVERIFY(tabs->tabIcon(1).isNull());
    tabs.reset();
    fromWorker([&] { adapter.setTabImage(1, 1); });
    QTest::qWait(50);
}

QTEST_MAIN(TabIconAdapterTest)
#include "tab_icon_adapter_test.moc"
