// The engine settings window on a real engine folder, its boxes answered by the test.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "../support/file_size_limit.h"
#include "engine_settings_window.h"
#include "scripted_prompts.h"

namespace {

using Kind = ScriptedPrompts::Kind;

QByteArray crlfs(int count) { return QByteArray("\r\n").repeated(count); }

QByteArray numberedFile(int lines) {
    QByteArray bytes;
    for (int i = 0; i < lines; ++i) bytes += "v" + QByteArray::number(i) + "\r\n";
    return bytes;
}

}  // namespace

class EngineSettingsWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<EngineSettingsWindow> window;

    QString path(const QString& name) const { return dir->filePath(QStringLiteral("conf/") + name); }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList folder() const {
        return QDir(dir->filePath(QStringLiteral("conf"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                                                      QDir::Name);
    }

    void open() {
        window = std::make_unique<EngineSettingsWindow>((dir->path() + QStringLiteral("/conf")).toStdString(), nullptr,
                                                        *prompts);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QListWidget* files() const { return window->findChild<QListWidget*>(QStringLiteral("fileList")); }
    QTreeWidget* settings() const { return window->findChild<QTreeWidget*>(QStringLiteral("settingsList")); }
    QStringList shownFiles() const {
        QStringList names;
        for (int i = 0; i < files()->count(); ++i) names << files()->item(i)->text();
        return names;
    }
    QString value(int row) const { return settings()->topLevelItem(row)->text(1); }

    // A view takes a double click only after a press on the same item, as a user's double
    // click starts with one.
    void clickFile(const QString& name, bool twice = false) {
        const auto found = files()->findItems(name, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(name));
        const QPoint at = files()->visualItemRect(found.first()).center();
        QTest::mouseClick(files()->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(files()->viewport(), Qt::LeftButton, {}, at);
    }
    // Double-clicks row `row` of the value list, answering the input box with `answer`.
    void editRow(int row, std::optional<QString> answer) {
        QTreeWidgetItem* item = settings()->topLevelItem(row);
        settings()->scrollToItem(item);
        const QPoint at = settings()->visualItemRect(item).center();
        prompts->answerText(std::move(answer));
        QTest::mouseClick(settings()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(settings()->viewport(), Qt::LeftButton, {}, at);
    }
    void trigger(const char* action) { window->findChild<QAction*>(QString::fromLatin1(action))->trigger(); }
    void expectOneMessage(const QString& text) {
        const auto calls = prompts->takeCalls();
        QCOMPARE(int(calls.size()), 2);  // the input box, then the message
        QCOMPARE(int(calls[1].kind), int(Kind::inform));
        QCOMPARE(calls[1].title, QStringLiteral("提示"));
        QCOMPARE(calls[1].text, text);
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("conf")));
        prompts = std::make_unique<ScriptedPrompts>();
    }
    void cleanup() {
        window.reset();
        QVERIFY(prompts->allAnswered());
    }

    void listsEveryFileAndShowsTheFirst22Values() {
        writeFile(QStringLiteral("b.EG"), numberedFile(25));
        writeFile(QStringLiteral("a.eg"), "x");
        writeFile(QStringLiteral("c.txt"), "y");
        QVERIFY(QDir(dir->filePath(QStringLiteral("conf"))).mkdir(QStringLiteral("sub")));
        open();
        QCOMPARE(window->windowTitle(), QStringLiteral("引擎设置"));
        QCOMPARE(window->size(), QSize(620, 505));
        QCOMPARE(shownFiles(), (QStringList{"a.eg", "b.EG", "c.txt"}));
        QCOMPARE(settings()->topLevelItemCount(), 0);
        QCOMPARE(settings()->headerItem()->text(0), QStringLiteral("项目名"));
        QCOMPARE(settings()->headerItem()->text(1), QStringLiteral("内容"));

        clickFile(QStringLiteral("b.EG"));
        QCOMPARE(settings()->topLevelItemCount(), 22);
        QCOMPARE(settings()->topLevelItem(0)->text(0), QStringLiteral("引擎名字"));
        QCOMPARE(settings()->topLevelItem(1)->text(0), QStringLiteral("搜索引擎URL"));
        QCOMPARE(settings()->topLevelItem(21)->text(0), QStringLiteral("详情页是否转码"));
        QCOMPARE(value(0), QStringLiteral("v0"));
        QCOMPARE(value(21), QStringLiteral("v21"));

        clickFile(QStringLiteral("a.eg"));
        QCOMPARE(settings()->topLevelItemCount(), 22);
        QCOMPARE(value(0), QStringLiteral("x"));
        QCOMPARE(value(1), QString());
    }

    void rightClickOffersTheTwoCommands() {
        open();
        QStringList offered;
        QTimer::singleShot(0, this, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* action : menu->actions()) offered << action->text();
                menu->close();
            }
        });
        emit files()->customContextMenuRequested(QPoint(10, 10));
        QTRY_COMPARE(offered, (QStringList{"添加新引擎", "删除引擎"}));
    }

    void addWritesTheNameAloneAndRefusesTakenOrUnsafeNames() {
        writeFile(QStringLiteral("abc.EG"), "abc");
        open();
        clickFile(QStringLiteral("abc.EG"));

        prompts->answerText(QStringLiteral("abc.EG"));  // the offered text, confirmed
        trigger("addEngineAction");
        auto calls = prompts->takeCalls();
        QCOMPARE(int(calls.size()), 1);
        QCOMPARE(calls[0].title, QStringLiteral("添加引擎"));
        QCOMPARE(calls[0].text, QStringLiteral("请输入引擎名字"));
        QCOMPARE(calls[0].initial, QStringLiteral("abc.EG"));
        QCOMPARE(readFile(QStringLiteral("abc.EG.EG")), QByteArray("abc.EG"));
        QCOMPARE(shownFiles(), (QStringList{"abc.EG", "abc.EG.EG"}));
        QCOMPARE(files()->currentItem()->text(), QStringLiteral("abc.EG"));

        prompts->answerText(QStringLiteral("中文"));
        trigger("addEngineAction");
        prompts->takeCalls();
        QCOMPARE(readFile(QStringLiteral("中文.EG")), QByteArray("\xD6\xD0\xCE\xC4"));  // the program's text bytes

        prompts->answerText(QStringLiteral("ABC"));
        trigger("addEngineAction");
        expectOneMessage(QStringLiteral("你要添加的引擎已存在。"));
        QCOMPARE(readFile(QStringLiteral("abc.EG")), QByteArray("abc"));

        for (const QString& name : {QStringLiteral("../../x"), QStringLiteral("a/b"), QStringLiteral("..")}) {
            prompts->answerText(name);
            trigger("addEngineAction");
            const auto refused = prompts->takeCalls();
            QCOMPARE(int(refused.size()), 2);
            QVERIFY2(refused[1].text.contains(QStringLiteral("? / \\ < > * | : \"")), qPrintable(refused[1].text));
        }
        QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("x.EG"))));
        QVERIFY(!QFile::exists(QDir(dir->path()).filePath(QStringLiteral("../x.EG"))));

        prompts->answerText(std::nullopt);
        trigger("addEngineAction");
        prompts->answerText(QString());
        trigger("addEngineAction");
        QCOMPARE(int(prompts->takeCalls().size()), 2);  // the two input boxes, no message
        QCOMPARE(folder(), (QStringList{"abc.EG", "abc.EG.EG", "中文.EG"}));
    }

    void editRefusesAnEmptyNameOrAddressAndSavesTheFileShape() {
        writeFile(QStringLiteral("new.EG"), "new");  // as the add command leaves it
        open();
        clickFile(QStringLiteral("new.EG"));
        QCOMPARE(value(0), QStringLiteral("new"));

        editRow(0, QStringLiteral("My"));
        const auto calls = prompts->takeCalls();
        QCOMPARE(int(calls.size()), 2);
        QCOMPARE(calls[0].title, QStringLiteral("引擎配置修改"));
        QCOMPARE(calls[0].text, QStringLiteral("请输入要修改的内容"));
        QCOMPARE(calls[0].initial, QStringLiteral("new"));
        QCOMPARE(calls[1].text, QStringLiteral("引擎URL不能为空,"));
        QCOMPARE(value(0), QStringLiteral("My"));
        QCOMPARE(readFile(QStringLiteral("new.EG")), QByteArray("new"));

        editRow(1, QStringLiteral("http://x"));
        QCOMPARE(int(prompts->takeCalls().size()), 1);
        QCOMPARE(readFile(QStringLiteral("new.EG")), "My\r\nhttp://x" + crlfs(20));  // 21 line ends, none after row 21

        editRow(1, QString());
        expectOneMessage(QStringLiteral("引擎名称和引擎URL不能为空,"));
        editRow(0, QString());
        expectOneMessage(QStringLiteral("引擎名称和引擎URL不能为空,"));
        QCOMPARE(value(1), QStringLiteral("http://x"));

        editRow(21, QStringLiteral("是"));
        editRow(5, QStringLiteral("中"));
        editRow(5, QString());  // rows 2 .. 21 may be cleared
        editRow(3, std::nullopt);
        QCOMPARE(int(prompts->takeCalls().size()), 4);
        QCOMPARE(readFile(QStringLiteral("new.EG")), "My\r\nhttp://x" + crlfs(20) + "\xCA\xC7");

        // With no row selected an entry changes nothing but still writes the list back.
        writeFile(QStringLiteral("new.EG"), "changed elsewhere");
        settings()->clearSelection();
        prompts->answerText(QStringLiteral("ignored"));
        window->editSelectedValue();
        QCOMPARE(prompts->takeCalls()[0].initial, QString());
        QCOMPARE(readFile(QStringLiteral("new.EG")), "My\r\nhttp://x" + crlfs(20) + "\xCA\xC7");
    }

    void saveKeepsBytesOfUntouchedValues() {
        writeFile(QStringLiteral("e.EG"), "name\r\nhttp://x\r\n\xFF\xFF broken\r\n" + crlfs(18) + "last");
        open();
        clickFile(QStringLiteral("e.EG"));
        editRow(2, value(2));  // confirmed unchanged
        editRow(4, QStringLiteral("p"));
        QCOMPARE(readFile(QStringLiteral("e.EG")), "name\r\nhttp://x\r\n\xFF\xFF broken\r\n\r\np\r\n" + crlfs(16) + "last");
    }

    void deleteAsksFirstAndKeepsTheValuesShown() {
        writeFile(QStringLiteral("abc.EG"), numberedFile(22));
        writeFile(QStringLiteral("other.EG"), "o");
        open();
        clickFile(QStringLiteral("abc.EG"));

        prompts->answerConfirm(false);
        trigger("deleteEngineAction");
        auto calls = prompts->takeCalls();
        QCOMPARE(int(calls.size()), 1);
        QCOMPARE(int(calls[0].kind), int(Kind::confirm));
        QCOMPARE(calls[0].title, QStringLiteral("提示"));
        QCOMPARE(calls[0].text, QStringLiteral("是否删除abc.EG引擎?"));
        QVERIFY(QFile::exists(path(QStringLiteral("abc.EG"))));

        prompts->answerConfirm(true);
        trigger("deleteEngineAction");
        prompts->takeCalls();
        QCOMPARE(folder(), QStringList{"other.EG"});
        QCOMPARE(shownFiles(), QStringList{"other.EG"});
        QCOMPARE(settings()->topLevelItemCount(), 22);
        QCOMPARE(value(0), QStringLiteral("v0"));

        // The deleted file is not current any more: an edit does not bring it back.
        editRow(3, QStringLiteral("x"));
        QCOMPARE(folder(), QStringList{"other.EG"});
    }

    void renameKeepsTheOfferedExtensionAndRefusesForbiddenNames() {
        writeFile(QStringLiteral("abc.EG"), numberedFile(22));
        writeFile(QStringLiteral("other.EG"), "o");
        open();
        clickFile(QStringLiteral("abc.EG"));

        prompts->answerText(QStringLiteral("abc.EG"));  // the offered text, confirmed
        clickFile(QStringLiteral("abc.EG"), true);
        const auto calls = prompts->takeCalls();
        QCOMPARE(int(calls.size()), 1);
        QCOMPARE(calls[0].title, QStringLiteral("引擎配置修改"));
        QCOMPARE(calls[0].text, QStringLiteral("请输入要修改的内容"));
        QCOMPARE(calls[0].initial, QStringLiteral("abc.EG"));
        QCOMPARE(folder(), (QStringList{"abc.EG.EG", "other.EG"}));
        QCOMPARE(readFile(QStringLiteral("abc.EG.EG")), numberedFile(22));
        QCOMPARE(files()->currentItem()->text(), QStringLiteral("abc.EG.EG"));

        for (const QString& name : {QStringLiteral("a?b"), QStringLiteral("a*b"), QStringLiteral("a<b"),
                                   QStringLiteral("a>b"), QStringLiteral("a|b"), QStringLiteral("a\"b"),
                                   QStringLiteral("../x"), QStringLiteral("other")}) {
            prompts->answerText(name);
            clickFile(QStringLiteral("abc.EG.EG"), true);
            QCOMPARE(int(prompts->takeCalls().size()), 1);  // no message: the rename does nothing
        }
        QCOMPARE(folder(), (QStringList{"abc.EG.EG", "other.EG"}));
        QCOMPARE(readFile(QStringLiteral("other.EG")), QByteArray("o"));

        // The renamed file is the current one: an edit goes into it.
        editRow(21, QStringLiteral("z"));
        QCOMPARE(readFile(QStringLiteral("abc.EG.EG")), numberedFile(21) + "z");
    }

    void saveThatCannotBeWrittenLeavesTheOldFile() {
        const QByteArray old = numberedFile(22);
        writeFile(QStringLiteral("e.EG"), old);
        open();
        clickFile(QStringLiteral("e.EG"));
        {
            FileSizeLimit limit(64);
            editRow(10, QString(4096, QLatin1Char('y')));
        }
        QCOMPARE(int(prompts->takeCalls().size()), 1);  // a failed write is not reported
        QCOMPARE(readFile(QStringLiteral("e.EG")), old);
        QCOMPARE(folder(), QStringList{"e.EG"});
    }
};

QTEST_MAIN(EngineSettingsWindowTest)
#include "engine_settings_window_test.moc"
