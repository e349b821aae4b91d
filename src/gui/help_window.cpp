#include "help_window.h"

#include <QPlainTextEdit>

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("帮助"));
    setFixedSize(406, 321);
    auto* text = new QPlainTextEdit(this);
    text->setGeometry(0, 0, 400, 296);
    text->setReadOnly(true);
    text->setAccessibleName(QStringLiteral("帮助"));
    text->setPlainText(QStringLiteral(
        "    本程序是一款聚合型磁力链搜索软件，未来会更新会可自定义添加搜索引擎的搜索器。"
        "搜索结果全部来源于互联网磁力链搜索网站，程序本身不提供任何资源。"
        "有任何建议和意见，欢迎在本程序的发布帖中回复留言。"));
}
