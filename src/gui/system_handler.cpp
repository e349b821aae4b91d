#include "system_handler.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

void setClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void openWithSystemHandler(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }
