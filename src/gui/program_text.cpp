#include "program_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
// Each conversion stands alone: a cut-off character at the end of one text must not run into
// the next one.
constexpr auto stateless = QStringConverter::Flag::Stateless;
}  // namespace

QString fromProgramText(const ondrel::Text& text) {
    QStringDecoder decode("GB18030", stateless);
    return decode(QByteArrayView(text.data(), qsizetype(text.size())));
}

ondrel::Text toProgramText(const QString& text) {
    QStringEncoder encode("GB18030", stateless);
    const QByteArray bytes = encode(text);
    return ondrel::Text(bytes.constData(), size_t(bytes.size()));
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
