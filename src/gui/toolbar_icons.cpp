#include "toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int iconSize = 32;

const char* themeName(ToolbarButton button) {
    switch (button) {
    case ToolbarButton::engineSettings: return "preferences-system";
    case ToolbarButton::engineCheck: return "network-transmit-receive";
    case ToolbarButton::options: return "preferences-other";
    case ToolbarButton::help: return "help-browser";
    case ToolbarButton::donation: return "emblem-favorite";
    }
    return "";
}

void drawGear(QPainter& p) {
    p.setBrush(QColor(0x55, 0x6B, 0x8D));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(16, 16);
        p.rotate(45.0 * i);
        p.drawRect(-3, -15, 6, 8);
        p.restore();
    }
    p.drawEllipse(QPointF(16, 16), 10, 10);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 4, 4);
}

void drawPulse(QPainter& p) {
    p.setBrush(QColor(0x2E, 0x8B, 0x57));
    p.drawRoundedRect(2, 4, 28, 24, 4, 4);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF line[] = {{5, 17}, {11, 17}, {14, 9}, {18, 24}, {21, 15}, {27, 15}};
    p.drawPolyline(line, 6);
}

void drawSliders(QPainter& p) {
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) p.drawLine(4, 8 + 8 * i, 28, 8 + 8 * i);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE0, 0x8A, 0x1E));
    const int knobs[] = {10, 21, 14};
    for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(knobs[i], 8 + 8 * i), 4, 4);
}

void drawQuestionMark(QPainter& p) {
    p.setBrush(QColor(0x1E, 0x64, 0xC8));
    p.drawEllipse(2, 2, 28, 28);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(22);
    p.setFont(font);
    p.drawText(QRect(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
}

void drawHeart(QPainter& p) {
    p.setBrush(QColor(0xD7, 0x26, 0x3D));
    QPainterPath heart;
    heart.moveTo(16, 28);
    heart.cubicTo(2, 18, 2, 6, 10, 6);
    heart.cubicTo(13, 6, 15, 8, 16, 11);
    heart.cubicTo(17, 8, 19, 6, 22, 6);
    heart.cubicTo(30, 6, 30, 18, 16, 28);
    p.drawPath(heart);
}

}  // namespace

QIcon drawnToolbarIcon(ToolbarButton button) {
    QPixmap pixmap(iconSize, iconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    switch (button) {
    case ToolbarButton::engineSettings: drawGear(p); break;
    case ToolbarButton::engineCheck: drawPulse(p); break;
    case ToolbarButton::options: drawSliders(p); break;
    case ToolbarButton::help: drawQuestionMark(p); break;
    case ToolbarButton::donation: drawHeart(p); break;
    }
    return QIcon(pixmap);
}

QIcon toolbarIcon(ToolbarButton button) {
    return QIcon::fromTheme(QLatin1String(themeName(button)), drawnToolbarIcon(button));
}
