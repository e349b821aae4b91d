// The update notice: asked off the user-interface thread, shown only for a successful answer
// that is not our version, and a click anywhere on the status bar then opens the share page.
#include <httplib.h>

#include <QSignalSpy>
#include <chrono>
#include <thread>

#include "gui_test_support.h"
#include "update_check_runner.h"

namespace {
// A version server on the loopback: /ok/BODY answers BODY, /status/N answers N, /slow waits.
class VersionSite {
public:
    VersionSite() {
        server_.Get(R"(/ok/([\s\S]*))", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.matches[1], "text/plain");
        });
        server_.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.status = std::stoi(req.matches[1]);
            res.set_content("1.1", "text/plain");
        });
        server_.Get("/slow", [](const httplib::Request&, httplib::Response& res) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2500));
            res.set_content("1.1", "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~VersionSite() {
        server_.stop();
        thread_.join();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
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

private:
    VersionSite site_;
};

void UpdateNoticeTest::showsTheNoticeOnlyForAnotherVersion_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("shown");
    QTest::newRow("ours") << QStringLiteral("/ok/1.0") << false;
    QTest::newRow("ours and a line end") << QStringLiteral("/ok/1.0%0D%0A") << true;
    QTest::newRow("newer") << QStringLiteral("/ok/1.1") << true;
    QTest::newRow("prefixed") << QStringLiteral("/ok/V1.0") << true;
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
    MainWindow window(folder.path().toStdString(), {site_.url("/slow"), shareUrl});
    QSignalSpy finished(window.updateCheck(), &UpdateCheckRunner::finished);
    // The first timer tick comes while the server still holds its answer.
    QTRY_COMPARE(statusPart(window, 0)->text(), QStringLiteral("搜索状态:0条线程"));
    QCOMPARE(finished.size(), 0);
    QVERIFY(finished.wait(10000));
    QCOMPARE(statusPart(window, 2)->text(), notice);
}

QTEST_MAIN(UpdateNoticeTest)
#include "update_notice_test.moc"
