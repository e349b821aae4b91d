// The toolbar's informational buttons: the options message, the help and the donation windows,
// each modal and answered here.
#include <QApplication>
#include <QGroupBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>

#include "gui_test_support.h"

class SideWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void optionsShowsItsMessage();
    void helpWindowHoldsTheHelpText();
    void donationWindowHoldsThreePlaceholdersAndItsThanks();
    void engineButtonsOpenTheSettingsAndCheckWindows();

private:
    // Triggers the button, lets `inspect` look at the modal window it opens, then closes it.
    void withModalOf(ToolbarButton button, const std::function<void(QWidget*)>& inspect);
};

void SideWindowsTest::withModalOf(ToolbarButton button, const std::function<void(QWidget*)>& inspect) {
    QTemporaryDir folder;
    MainWindow window(folder.path().toStdString(), {});
    window.show();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        seen = true;
        // Closed however the checks end, so that a failure cannot leave the test waiting.
        const std::unique_ptr<QWidget, void (*)(QWidget*)> closer(modal, [](QWidget* w) { w->close(); });
        QCOMPARE(modal->parentWidget(), &window);
        inspect(modal);
    });
    window.toolbarAction(button)->trigger();
    QVERIFY(seen);
}

void SideWindowsTest::optionsShowsItsMessage() {
    withModalOf(ToolbarButton::options, [](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("提示:"));
        QCOMPARE(box->text(), QStringLiteral("暂无此功能,静待更新。"));
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
    });
}

void SideWindowsTest::helpWindowHoldsTheHelpText() {
    withModalOf(ToolbarButton::help, [](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("帮助"));
        QCOMPARE(modal->size(), QSize(406, 321));
        auto* text = modal->findChild<QPlainTextEdit*>();
        QCOMPARE(text->geometry(), QRect(0, 0, 400, 296));
        QVERIFY(text->toPlainText().startsWith(QStringLiteral(
            "    本程序是一款聚合型磁力链搜索软件，未来会更新会可自定义添加搜索引擎的搜索器。"
            "搜索结果全部来源于互联网磁力链搜索网站，程序本身不提供任何资源。")));
    });
}

void SideWindowsTest::donationWindowHoldsThreePlaceholdersAndItsThanks() {
    withModalOf(ToolbarButton::donation, [](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("捐助"));
        QCOMPARE(modal->size(), QSize(650, 276));
        const QList<QGroupBox*> groups = modal->findChildren<QGroupBox*>();
        QCOMPARE(groups.size(), 3);
        const QString titles[] = {QStringLiteral("支付宝"), QStringLiteral("微信"), QStringLiteral("支付宝领红包")};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(groups[i]->title(), titles[i]);
            QCOMPARE(groups[i]->geometry(), QRect(214 * i, 0, 216, 224));
            auto* picture = groups[i]->findChild<QLabel*>();
            QCOMPARE(picture->geometry(), QRect(5, 16, 200, 200));
            // No payment code: the picture says it only holds the place.
            QVERIFY(picture->pixmap().isNull());
            QVERIFY(picture->text().contains(QStringLiteral("占位")));
        }
        bool thanked = false;
        for (QLabel* label : modal->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            thanked |= label->text() == QStringLiteral("作者也是要恰饭的嘛,捐多捐少全凭心意,基本用于维护服务器。") &&
                       label->geometry() == QRect(8, 224, 624, 24);
        QVERIFY(thanked);
    });
}

QTEST_MAIN(SideWindowsTest)
void SideWindowsTest::engineButtonsOpenTheSettingsAndCheckWindows() {
    withModalOf(ToolbarButton::engineSettings, [](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("引擎设置"));
    });
    withModalOf(ToolbarButton::engineCheck, [](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("引擎检测"));
    });
}

#include "side_windows_test.moc"
