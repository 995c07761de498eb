#include "gui/splash_screen.h"

#include <QEventLoop>
#include <QFrame>
#include <QLabel>

#include "gui/layout.h"
#include "gui/product_picture.h"

namespace restash {

SplashScreen::SplashScreen(int intervalMs, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setFont(WindowFont());
    // Not scaled: the picture has a fixed size.
    setFixedSize(282, 160);

    frame_ = new QFrame(this);
    frame_->setObjectName(QStringLiteral("Panel1"));
    frame_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame_->setLineWidth(1);
    frame_->setGeometry(0, 0, 282, 160);

    picture_ = new QLabel(frame_);
    picture_->setObjectName(QStringLiteral("Image1"));
    picture_->setGeometry(14, 16, 250, 75);
    picture_->setPixmap(ProductPicture(250, 75));

    slogan_ = new QLabel(QStringLiteral("Your Netscape cache, browsable offline"), frame_);
    slogan_->setObjectName(QStringLiteral("Label1"));
    // The desktop's font, smaller where the fixed picture leaves less room.
    slogan_->setFont(FittedFont(BoldFont(), slogan_->text(), 270));
    slogan_->setAlignment(Qt::AlignCenter);
    slogan_->setGeometry(6, 102, 270, 20);

    version_ = new QLabel(QStringLiteral("Version 5.3 32bit"), frame_);
    version_->setObjectName(QStringLiteral("Version"));
    version_->setFont(FittedFont(BoldFont(), version_->text(), 218));
    version_->setAlignment(Qt::AlignCenter);
    version_->setGeometry(32, 128, 218, 20);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(intervalMs);
    connect(timer_, &QTimer::timeout, this, &SplashScreen::TimerTicked);
    timer_->start();
}

void SplashScreen::TimerTicked() {
    timer_->stop();
    splashActive_ = false;
    emit finished();
}

void SplashScreen::ShowAndWait() {
    CentreOnScreen(this);
    show();
    repaint();
    if (!splashActive_) return;
    QEventLoop wait;
    connect(this, &SplashScreen::finished, &wait, &QEventLoop::quit);
    wait.exec();
}

}  // namespace restash
