#include "donation_window.h"

#include <QGroupBox>
#include <QLabel>

namespace {
// No payment code is shipped; each picture box says plainly that it only holds a place.
QLabel* placeholderPicture(QWidget* parent) {
    auto* picture = new QLabel(QStringLiteral("图片占位\n（尚未提供收款码）"), parent);
    picture->setGeometry(5, 16, 200, 200);
    picture->setAlignment(Qt::AlignCenter);
    picture->setFrameShape(QFrame::Box);
    return picture;
}
}  // namespace

DonationWindow::DonationWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("捐助"));
    setFixedSize(650, 276);
    const QString services[] = {QStringLiteral("支付宝"), QStringLiteral("微信"), QStringLiteral("支付宝领红包")};
    for (int i = 0; i < 3; ++i) {
        auto* group = new QGroupBox(services[i], this);
        group->setGeometry(214 * i, 0, 216, 224);
        placeholderPicture(group)->setAccessibleName(services[i]);
    }
    auto* thanks = new QLabel(QStringLiteral("作者也是要恰饭的嘛,捐多捐少全凭心意,基本用于维护服务器。"), this);
    thanks->setGeometry(8, 224, 624, 24);
}
