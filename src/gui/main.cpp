// The desktop program: the main window over the engine files of the folder it was started in.
#include <QApplication>
#include <QIcon>
#include <QThread>
#include <filesystem>

#include "app/event_pump.h"
#include "main_window.h"

namespace {
// Only the user-interface thread has window events to dispatch.
void pumpWindowEvents() {
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) QCoreApplication::processEvents();
}

std::filesystem::path startFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    // Without a readable current folder the engine files are looked for at the root.
    return error ? std::filesystem::path("/") : folder;
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ondrel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("ondrel"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("ondrel")));
    ondrel::setPendingEventPump(pumpWindowEvents);
    MainWindow window(startFolder());
    window.show();
    return app.exec();
}
