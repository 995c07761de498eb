#include "gui/product_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace restash {

namespace {

// A cache drawer with a page lifted out of it: the mark of the program.
void DrawMark(QPainter& p, const QRectF& box) {
    const double u = box.height() / 16.0;
    p.save();
    p.translate(box.topLeft());
    // The page, lifted out.
    p.setPen(QPen(QColor(40, 40, 40), u * 0.5));
    p.setBrush(QColor(255, 255, 250));
    p.drawRect(QRectF(4 * u, 1 * u, 8 * u, 9 * u));
    p.setPen(QPen(QColor(0, 0, 160), u * 0.6));
    for (int i = 0; i < 3; ++i) p.drawLine(QPointF(5.5 * u, (3.5 + 2 * i) * u), QPointF(10.5 * u, (3.5 + 2 * i) * u));
    // The drawer.
    QLinearGradient drawer(0, 8 * u, 0, 15 * u);
    drawer.setColorAt(0, QColor(0, 128, 128));
    drawer.setColorAt(1, QColor(0, 72, 80));
    p.setPen(QPen(QColor(20, 20, 20), u * 0.5));
    p.setBrush(drawer);
    p.drawRoundedRect(QRectF(1 * u, 8 * u, 14 * u, 7 * u), u, u);
    p.setBrush(QColor(220, 220, 200));
    p.drawRect(QRectF(6 * u, 10.5 * u, 4 * u, 1.5 * u));
    p.restore();
}

}  // namespace

QPixmap ProductPicture(int width, int height) {
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0, QColor(0, 0, 128));
    sky.setColorAt(1, QColor(0, 96, 160));
    p.fillRect(pixmap.rect(), sky);
    const double side = height * 0.8;
    DrawMark(p, QRectF(height * 0.1, height * 0.1, side, side));
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(static_cast<int>(height * 0.5));
    p.setFont(font);
    const QRectF textBox(height, 0, width - height - height * 0.1, height);
    p.setPen(QColor(0, 0, 40));
    p.drawText(textBox.translated(2, 2), Qt::AlignCenter, QStringLiteral("Restash"));
    p.setPen(QColor(255, 255, 200));
    p.drawText(textBox, Qt::AlignCenter, QStringLiteral("Restash"));
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        DrawMark(p, QRectF(0, 0, size, size));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace restash
