#pragma once
// The donation window: three payment services side by side and a line of thanks.
#include <QDialog>

class DonationWindow : public QDialog {
    Q_OBJECT
public:
    explicit DonationWindow(QWidget* parent = nullptr);
};
