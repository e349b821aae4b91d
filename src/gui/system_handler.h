#pragma once
// The desktop services the result commands and the update notice use: the clipboard and the
// system's handler for an address ("open", shown normally; failures are not reported).
#include <QString>

void setClipboardText(const QString& text);
void openWithSystemHandler(const QString& address);
