// restash: the desktop application.
#include <QApplication>

#include "gui/app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return restash::RunRestash(app);
}
