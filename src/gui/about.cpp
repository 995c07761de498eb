#include "gui/about.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "gui/layout.h"
#include "gui/product_picture.h"

namespace restash {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Restash"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 289, 224);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(Panel1, 8, 8, 273, 161);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    Place(ProgramIcon, 11, 8, 250, 75);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(ProductPicture(250, 75));

    Version = new QLabel(QStringLiteral("Version 5.3 32bit"), Panel1);
    Version->setObjectName(QStringLiteral("Version"));
    Version->setFont(BoldFont());
    Version->setAlignment(Qt::AlignCenter);
    Place(Version, 8, 96, 257, 21);

    Comments = new QLabel(QStringLiteral("Turns a Netscape disk cache back\ninto a browsable offline copy"),
                          Panel1);
    Comments->setObjectName(QStringLiteral("Comments"));
    Comments->setFont(BoldFont());
    Comments->setAlignment(Qt::AlignCenter);
    Place(Comments, 8, 120, 257, 36);

    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Place(Button1, 107, 180, 75, 33);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace restash
