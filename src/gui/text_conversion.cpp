#include "text_conversion.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Converters are not shareable between threads, and the search's workers convert their rows
// before handing them to the window; one converter per thread avoids reopening one per cell.
QString toQString(const ondrel::Text& text) {
    thread_local QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
    return decoder(QByteArrayView(text.data(), qsizetype(text.size())));
}

ondrel::Text toText(const QString& text) {
    thread_local QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder(text);
    return ondrel::Text(bytes.constData(), size_t(bytes.size()));
}
