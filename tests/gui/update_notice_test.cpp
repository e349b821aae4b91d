// The update notice: asked off the user-interface thread, shown only for a successful answer
// that is not our version, and a click anywhere on the status bar then opens the share page.
#include <QSignalSpy>

#include "gui_test_support.h"
#include "test_site.h"
#include "update_check_runner.h"

namespace {
// The test site answers /version/BODY with BODY; its own routes give /status/N and /slow.
class VersionSite {
public:
    VersionSite() {
        site_.server().Get(R"(/version/([\s\S]*))", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.matches[1], "text/plain");
        });
        site_.start();
    }
    std::string url(const std::string& path) const { return site_.baseUrl() + path; }

private:
    ondrel::testsite::TestSite site_;
};

const QString notice = QStringLiteral("有新版本,点击更新，提取码：wqkd");
const std::string shareUrl = "http://share.invalid/s/ondrel";
}  // namespace

class UpdateNoticeTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheNoticeOnlyForAnotherVersion_data();
    void showsTheNoticeOnlyForAnotherVersion();
    void withoutAnAddressNoCheckIsMade();
    void theWindowTakesInputWhileTheCheckWaits();
    void closingTheWindowAbortsACheckThatHangs();

private:
    VersionSite site_;
};

void UpdateNoticeTest::showsTheNoticeOnlyForAnotherVersion_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("shown");
    QTest::newRow("ours") << QStringLiteral("/version/1.0") << false;
    QTest::newRow("ours and a line end") << QStringLiteral("/version/1.0%0D%0A") << true;
    QTest::newRow("newer") << QStringLiteral("/version/1.1") << true;
    QTest::newRow("prefixed") << QStringLiteral("/version/V1.0") << true;
    QTest::newRow("not found") << QStringLiteral("/status/404") << false;
    QTest::newRow("server error") << QStringLiteral("/status/500") << false;
}

void UpdateNoticeTest::showsTheNoticeOnlyForAnotherVersion() {
    QFETCH(QString, path);
    QFETCH(bool, shown);
    QTemporaryDir folder;
    MainWindow window(folder.path().toStdString(), {site_.url(path.toStdString()), shareUrl});
    window.show();
    QSignalSpy finished(window.updateCheck(), &UpdateCheckRunner::finished);
    QVERIFY(finished.wait(10000));
    QCOMPARE(statusPart(window, 2)->text(), shown ? notice : QString());

    // A click on any part of the status bar, not only the notice's, opens the share page.
    OpenRecorder recorder({QStringLiteral("http")});
    QTest::mouseClick(statusPart(window, 0), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("statusBar")), Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(recorder.opened.size(), shown ? 2 : 0);
    if (shown) QCOMPARE(recorder.opened.first(), QString::fromStdString(shareUrl));
}

void UpdateNoticeTest::withoutAnAddressNoCheckIsMade() {
    QTemporaryDir folder;
    // Port 1 refuses; with no address nothing is asked at all, so nothing is reported either.
    for (const ondrel::UpdateAddresses& addresses :
         {ondrel::UpdateAddresses{}, ondrel::UpdateAddresses{"http://127.0.0.1:1/ver.txt", shareUrl}}) {
        MainWindow window(folder.path().toStdString(), addresses);
        QSignalSpy finished(window.updateCheck(), &UpdateCheckRunner::finished);
        finished.wait(addresses.versionUrl.empty() ? 300 : 10000);
        QCOMPARE(finished.size(), addresses.versionUrl.empty() ? 0 : 1);
        QCOMPARE(statusPart(window, 2)->text(), QString());
    }
}

void UpdateNoticeTest::theWindowTakesInputWhileTheCheckWaits() {
    QTemporaryDir folder;
    MainWindow window(folder.path().toStdString(), {site_.url("/slow?ms=2500"), shareUrl});
    QSignalSpy finished(window.updateCheck(), &UpdateCheckRunner::finished);
    // The first timer tick comes while the server still holds its answer.
    QTRY_COMPARE(statusPart(window, 0)->text(), QStringLiteral("搜索状态:0条线程"));
    QCOMPARE(finished.size(), 0);
    QVERIFY(finished.wait(10000));
    QCOMPARE(statusPart(window, 2)->text(), notice);
}

void UpdateNoticeTest::closingTheWindowAbortsACheckThatHangs() {
    QTemporaryDir folder;
    QElapsedTimer clock;
    clock.start();
    {
        MainWindow window(folder.path().toStdString(), {site_.url("/hang"), shareUrl});
        QTest::qWait(200);
    }
    // Without the abort the window would wait for the request's own limits (15 s per phase).
    qInfo("window closed %lld ms after it opened", clock.elapsed());
}

QTEST_MAIN(UpdateNoticeTest)
#include "update_notice_test.moc"
