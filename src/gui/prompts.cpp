#include "prompts.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

void DialogPrompts::inform(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox::information(owner, title, text, QMessageBox::Ok);
}

bool DialogPrompts::confirm(QWidget* owner, const QString& title, const QString& text) {
    return QMessageBox::question(owner, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

std::optional<QString> DialogPrompts::askText(QWidget* owner, const QString& title, const QString& prompt,
                                              const QString& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(owner, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

Prompts& dialogPrompts() {
    static DialogPrompts prompts;
    return prompts;
}
