#pragma once
// SplashScreen: the borderless window shown while the program starts.
#include <QTimer>
#include <QWidget>

class QFrame;
class QLabel;

namespace restash {

class SplashScreen final : public QWidget {
    Q_OBJECT
public:
    // intervalMs: how long the splash stays (2000 ms; tests shorten it).
    explicit SplashScreen(int intervalMs = 2000, QWidget* parent = nullptr);

    // Set on creation, cleared by the first tick of timer_.
    bool SplashActive() const { return splashActive_; }
    // Shows the window, paints it at once, and waits, processing events,
    // until timer_ has cleared the flag.
    void ShowAndWait();

    void TimerTicked();

signals:
    void finished();

private:
    bool splashActive_ = true;
    QTimer* timer_;
    QFrame* frame_;
    QLabel* picture_;
    QLabel* slogan_;
    QLabel* version_;
};

}  // namespace restash
