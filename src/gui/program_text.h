#pragma once
// Crossing the window boundary: the program's text (GB18030 bytes) and file-system paths to
// and from the strings the widgets show.
#include <QString>
#include <filesystem>

#include "text/text.h"

QString fromProgramText(const ondrel::Text& text);
ondrel::Text toProgramText(const QString& text);

// A path as the user reads it, and a typed name as the path of that name.
QString fromPath(const std::filesystem::path& path);
std::filesystem::path toPath(const QString& text);
