#pragma once
// The help window: one text box with what the program is.
#include <QDialog>

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
};
