#include "keyword_source.h"

#include <QLineEdit>

#include "program_text.h"

KeywordBoxSource::KeywordBoxSource(QLineEdit* box) : QObject(box), text_(toProgramText(box->text())) {
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) {
        ondrel::Text converted = toProgramText(text);
        std::lock_guard lock(mutex_);
        text_ = std::move(converted);
    });
}

ondrel::Text KeywordBoxSource::keyword() {
    std::lock_guard lock(mutex_);
    return text_;
}
