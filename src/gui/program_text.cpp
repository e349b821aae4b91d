#include "program_text.h"

#include "text/codepage.h"

QString fromProgramText(const ondrel::Text& text) {
    return QString::fromStdU16String(ondrel::toUtf16(text, ondrel::codePageGbk));
}

ondrel::Text toProgramText(const QString& text) {
    return ondrel::fromUtf16(text.toStdU16String(), ondrel::codePageGbk);
}

QString fromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    // Names that are not valid UTF-8 still show, with replacement characters.
    return QString::fromUtf8(path.native());
#endif
}

std::filesystem::path toPath(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}
