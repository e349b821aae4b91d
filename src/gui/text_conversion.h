#pragma once
// The window speaks QString, the core speaks the program's own text (GB18030 bytes, which read
// every GBK string unchanged and cover all of Unicode, so nothing is lost either way).
#include <QString>

#include "text/text.h"

QString toQString(const ondrel::Text& text);
ondrel::Text toText(const QString& text);
