#pragma once
// The modal message and input boxes a window asks the user through. Windows take a Prompts so
// that a test can answer the boxes; the program uses the dialog implementation.
#include <QString>
#include <optional>

class QWidget;

class Prompts {
public:
    virtual ~Prompts() = default;
    // A message box with an OK button only.
    virtual void inform(QWidget* owner, const QString& title, const QString& text) = 0;
    // A message box with OK and Cancel; true when OK was pressed.
    virtual bool confirm(QWidget* owner, const QString& title, const QString& text) = 0;
    // An input box for one line of text; nothing when it was cancelled.
    virtual std::optional<QString> askText(QWidget* owner, const QString& title, const QString& prompt,
                                           const QString& initial) = 0;
};

// QMessageBox and QInputDialog.
class DialogPrompts final : public Prompts {
public:
    void inform(QWidget* owner, const QString& title, const QString& text) override;
    bool confirm(QWidget* owner, const QString& title, const QString& text) override;
    std::optional<QString> askText(QWidget* owner, const QString& title, const QString& prompt,
                                   const QString& initial) override;
};

// The program's boxes, shared by every window.
Prompts& dialogPrompts();
