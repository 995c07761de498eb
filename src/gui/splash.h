#pragma once
// TSplashForm: the borderless window shown while the program starts.
#include <QTimer>
#include <QWidget>

class QFrame;
class QLabel;

namespace restash {

class TSplashForm final : public QWidget {
    Q_OBJECT
public:
    // intervalMs: how long the splash stays (2000 ms; tests shorten it).
    explicit TSplashForm(int intervalMs = 2000, QWidget* parent = nullptr);

    // Set on creation, cleared by the first tick of Timer1.
    bool SplashActive() const { return splashActive_; }
    // Shows the window, paints it at once, and waits, processing events,
    // until Timer1 has cleared the flag.
    void ShowAndWait();

    void Timer1Timer();

signals:
    void finished();

private:
    bool splashActive_ = true;
    QTimer* Timer1;
    QFrame* Panel1;
    QLabel* Image1;
    QLabel* Label1;
    QLabel* Version;
};

}  // namespace restash
