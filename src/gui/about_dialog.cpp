#include "gui/about_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "gui/layout.h"
#include "gui/product_picture.h"

namespace restash {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Restash"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    FixClientSize(this, 289, 224);

    frame_ = new QFrame(this);
    frame_->setObjectName(QStringLiteral("Panel1"));
    frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(frame_, 8, 8, 273, 161);

    icon_ = new QLabel(frame_);
    icon_->setObjectName(QStringLiteral("ProgramIcon"));
    Place(icon_, 11, 8, 250, 75);
    icon_->setScaledContents(true);
    icon_->setPixmap(ProductPicture(250, 75));

    version_ = new QLabel(QStringLiteral("Version 5.3 32bit"), frame_);
    version_->setObjectName(QStringLiteral("Version"));
    version_->setFont(BoldFont());
    version_->setAlignment(Qt::AlignCenter);
    Place(version_, 8, 96, 257, 21);

    comments_ = new QLabel(QStringLiteral("Turns a Netscape disk cache back\ninto a browsable offline copy"),
                          frame_);
    comments_->setObjectName(QStringLiteral("Comments"));
    comments_->setFont(BoldFont());
    comments_->setAlignment(Qt::AlignCenter);
    Place(comments_, 8, 120, 257, 36);

    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    okButton_->setObjectName(QStringLiteral("Button1"));
    okButton_->setDefault(true);
    Place(okButton_, 107, 180, 75, 33);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace restash
