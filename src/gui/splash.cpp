#include "gui/splash.h"

#include <QEventLoop>
#include <QFrame>
#include <QLabel>

#include "gui/layout.h"
#include "gui/product_picture.h"

namespace restash {

TSplashForm::TSplashForm(int intervalMs, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setFont(WindowFont());
    // Not scaled: the picture has a fixed size.
    setFixedSize(282, 160);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    Panel1->setGeometry(0, 0, 282, 160);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(14, 16, 250, 75);
    Image1->setPixmap(ProductPicture(250, 75));

    Label1 = new QLabel(QStringLiteral("Your Netscape cache, browsable offline"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(BoldFont());
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(6, 102, 270, 20);

    Version = new QLabel(QStringLiteral("Version 5.3 32bit"), Panel1);
    Version->setObjectName(QStringLiteral("Version"));
    Version->setFont(BoldFont());
    Version->setAlignment(Qt::AlignCenter);
    Version->setGeometry(32, 128, 218, 20);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(intervalMs);
    connect(Timer1, &QTimer::timeout, this, &TSplashForm::Timer1Timer);
    Timer1->start();
}

void TSplashForm::Timer1Timer() {
    Timer1->stop();
    splashActive_ = false;
    emit finished();
}

void TSplashForm::ShowAndWait() {
    CentreOnScreen(this);
    show();
    repaint();
    if (!splashActive_) return;
    QEventLoop wait;
    connect(this, &TSplashForm::finished, &wait, &QEventLoop::quit);
    wait.exec();
}

}  // namespace restash
