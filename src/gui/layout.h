#pragma once
// Window measures are given at 120 pixels per inch; the windows scale them
// to the screen's logical resolution, so they keep their proportions to
// the text at any DPI.
#include <QRect>

class QWidget;
class QFont;

namespace restash {

// The factor from 120 dpi to the primary screen's logical dpi.
double LayoutScale();
int Scaled(int px);
QRect ScaledRect(int left, int top, int width, int height);
// Places child at a 120-dpi rectangle of its parent.
void Place(QWidget* child, int left, int top, int width, int height);

// A fixed-size window whose client area is width x height at 120 dpi.
void FixClientSize(QWidget* window, int width, int height);
// Centres window on the screen it will show on.
void CentreOnScreen(QWidget* window);

// The windows' font: the desktop's, at the size the user chose there; the
// measures above grow with it.
QFont WindowFont();
// A bold font, optionally a point size larger.
QFont BoldFont(int larger = 0);

// font, made smaller where needed so that text fits width pixels: for the
// fixed-size splash window, whose picture does not grow with the font.
QFont FittedFont(QFont font, const QString& text, int width);

// The width in pixels of the largest count (a 64-bit number) in font.
int CountWidth(const QFont& font);
// The 120-dpi width of a framed count panel in the bold font that shows the
// largest count whole: width, or more when that is too narrow.
int CountPanelRoom(int width);

}  // namespace restash
