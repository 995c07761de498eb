#include "gui/layout.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace restash {

// The measures leave room for text whose average character is at most
// 6 pixels wide and whose lines are at most 16 pixels high at 120 dpi. The
// desktop's font is usually wider or larger (DejaVu Sans is about a sixth
// wider at the same size); the windows grow with it, so that no caption is
// cut off.
constexpr double kRoomPerCharacter = 6.0;
constexpr double kRoomPerLine = 16.0;

double LayoutScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    const QFontMetricsF metrics(WindowFont());
    const double byFont = std::max(metrics.averageCharWidth() / kRoomPerCharacter, metrics.height() / kRoomPerLine);
    return std::max(dpi / 120.0, byFont);
}

int Scaled(int px) { return static_cast<int>(std::lround(px * LayoutScale())); }

QRect ScaledRect(int left, int top, int width, int height) {
    return QRect(Scaled(left), Scaled(top), Scaled(width), Scaled(height));
}

void Place(QWidget* child, int left, int top, int width, int height) {
    child->setGeometry(ScaledRect(left, top, width, height));
}

void FixClientSize(QWidget* window, int width, int height) {
    window->setFixedSize(Scaled(width), Scaled(height));
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

QFont WindowFont() { return QApplication::font(); }

QFont BoldFont(int larger) {
    QFont font = WindowFont();
    font.setBold(true);
    if (larger == 0) return font;
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() + larger);
    } else {
        font.setPixelSize(font.pixelSize() + Scaled(larger * 2));
    }
    return font;
}

QFont FittedFont(QFont font, const QString& text, int width) {
    constexpr double kSmallest = 6.0;
    while (font.pointSizeF() > kSmallest && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

int CountWidth(const QFont& font) {
    // The widest number a count can reach.
    const QString widest = QString::number(std::numeric_limits<std::uint64_t>::max());
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(widest)));
}

int CountPanelRoom(int width) {
    // A frame of up to two pixels and a pixel of air on each side.
    constexpr double kFrameAndAir = 6.0;
    const double needed = (CountWidth(BoldFont()) + kFrameAndAir) / LayoutScale();
    return std::max(width, static_cast<int>(std::ceil(needed)) + 1);
}

}  // namespace restash
