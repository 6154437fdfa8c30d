#include "views/editor/artwork.h"

#include "views/common/window_style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zeb {

namespace {

// Diagonal black stripes over `area`, the zebra of the name.
void drawStripes(QPainter& p, const QRectF& area, double width, const QColor& color) {
    p.save();
    p.setClipRect(area);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    for (double x = area.left() - area.height(); x < area.right(); x += 2 * width) {
        QPainterPath stripe;
        stripe.moveTo(x, area.bottom());
        stripe.lineTo(x + area.height(), area.top());
        stripe.lineTo(x + area.height() + width, area.top());
        stripe.lineTo(x + width, area.bottom());
        p.drawPath(stripe);
    }
    p.restore();
}

} // namespace

QIcon windowIcon() {
    QPixmap icon(32, 32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 0, 128));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);
    drawStripes(p, QRectF(2, 2, 28, 28), 3, QColor(255, 255, 255, 60));
    QFont font = verdanaFont(20, true);
    font.setPixelSize(24);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, "Z");
    return QIcon(icon);
}

QPixmap logoBanner() {
    QPixmap banner(243, 61);
    QPainter p(&banner);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 61);
    sky.setColorAt(0, QColor(0, 0, 128));
    sky.setColorAt(1, QColor(40, 70, 160));
    p.fillRect(banner.rect(), sky);
    drawStripes(p, QRectF(0, 0, 60, 61), 6, QColor(255, 255, 255, 70));
    // A platform sign's yellow rule under the name.
    p.fillRect(QRect(70, 47, 160, 3), QColor(255, 204, 0));
    QFont font = verdanaFont(22, true);
    font.setPixelSize(32);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(62, 4, 176, 44), Qt::AlignCenter, "Zebrano");
    return banner;
}

QPixmap contributionBackground() {
    QPixmap picture(400, 276);
    picture.fill(QColor(236, 240, 248));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor faded(196, 206, 226);
    p.setPen(Qt::NoPen);
    // Rails and sleepers.
    p.setBrush(faded.darker(110));
    p.drawRect(QRectF(0, 236, 400, 4));
    for (int x = 0; x < 400; x += 18)
        p.drawRect(QRectF(x, 240, 8, 6));
    // A locomotive and two coaches.
    p.setBrush(faded);
    QPainterPath engine;
    engine.moveTo(20, 226);
    engine.lineTo(20, 170);
    engine.quadTo(24, 140, 70, 138);
    engine.lineTo(150, 138);
    engine.lineTo(150, 226);
    engine.closeSubpath();
    p.drawPath(engine);
    p.drawRoundedRect(QRectF(156, 142, 110, 84), 6, 6);
    p.drawRoundedRect(QRectF(272, 142, 128, 84), 6, 6);
    p.setBrush(picture.toImage().pixelColor(0, 0));
    p.drawRect(QRectF(44, 152, 28, 22)); // cab window
    for (double x = 166; x < 396; x += 26) {
        if (x > 256 && x < 282)
            continue;
        p.drawRect(QRectF(x, 156, 18, 20));
    }
    p.setBrush(faded.darker(115));
    for (double x : {46.0, 122.0, 180.0, 242.0, 298.0, 372.0})
        p.drawEllipse(QPointF(x, 228), 10, 10);
    return picture;
}

} // namespace zeb
