#pragma once
// What the window tests share: a start folder with engine files, and the window's parts by name.
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>
#include <string>
#include <vector>

#include "main_window.h"
#include "result_list_model.h"

// Writes conf/NAME.EG with the lines joined by CR LF, each line ended.
inline void writeEngineFile(const QTemporaryDir& folder, const QString& name, const std::vector<std::string>& lines) {
    QDir(folder.path()).mkpath(QStringLiteral("conf"));
    QFile file(folder.filePath(QStringLiteral("conf/%1.EG").arg(name)));
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const std::string& line : lines) file.write((line + "\r\n").c_str());
}

// 22 lines whose first is the name and second the site; a search on it finds nothing.
inline std::vector<std::string> engineLines(const std::string& gbkName, const std::string& siteUrl) {
    std::vector<std::string> lines(22);
    lines[0] = gbkName;
    lines[1] = siteUrl;
    return lines;
}

inline QLabel* statusPart(const MainWindow& window, int part) {
    return window.findChild<QLabel*>(QStringLiteral("statusPart%1").arg(part));
}

// Records what the window hands to the system's handler, for the schemes it is registered for.
class OpenRecorder : public QObject {
    Q_OBJECT
public:
    explicit OpenRecorder(const QStringList& schemes) : schemes_(schemes) {
        for (const QString& scheme : schemes_) QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~OpenRecorder() override {
        for (const QString& scheme : schemes_) QDesktopServices::unsetUrlHandler(scheme);
    }
    QStringList opened;

public slots:
    void open(const QUrl& url) { opened << url.toString(); }

private:
    QStringList schemes_;
};
