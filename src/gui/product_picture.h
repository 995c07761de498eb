#pragma once
// The product picture of the splash window and the About box, and the
// window icon: drawn, so the program needs no image files of its own.
#include <QIcon>
#include <QPixmap>

namespace restash {

QPixmap ProductPicture(int width, int height);
QIcon ProgramIcon();

}  // namespace restash
