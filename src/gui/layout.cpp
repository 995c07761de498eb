#include "gui/layout.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace restash {

// The measures leave room for text whose average character is at most
// 6 pixels wide at 120 dpi. A wider font (DejaVu Sans, the usual Linux
// default, is about a sixth wider) enlarges the windows with it, so that no
// caption is cut off.
constexpr double kRoomPerCharacter = 6.0;

double LayoutScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    const double byFont = QFontMetricsF(WindowFont()).averageCharWidth() / kRoomPerCharacter;
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

QFont WindowFont() {
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}

QFont BoldFont(int larger) {
    QFont font = WindowFont();
    font.setBold(true);
    font.setPointSize(font.pointSize() + larger);
    return font;
}

}  // namespace restash
