#pragma once
// Drives modal windows from a test. A modal window runs its own event loop,
// so the test cannot act after exec() returns; instead it queues steps, each
// run as soon as the active modal window is of the wanted class and ready.
// A watchdog ends a stuck test: it records the steps that never came or the
// window left open, and closes every modal window, so the test fails instead
// of hanging. It runs for as long as the driver lives.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace restash::test {

class ModalDriver final : public QObject {
    Q_OBJECT
public:
    explicit ModalDriver(int watchdogMs = 20000);
    ~ModalDriver() override;

    // When the active modal window's class is className (for example
    // "restash::SelectionDialog") and ready(window) holds, run action(window).
    ModalDriver& When(const QString& className, std::function<void(QWidget*)> action,
                      std::function<bool(QWidget*)> ready = {});

    bool Done() const { return steps_.empty(); }
    // What went wrong: steps that never came, in order.
    const QStringList& failures() const { return failures_; }

private:
    void Poll();
    void Expire();

    struct Step {
        QString className;
        std::function<void(QWidget*)> action;
        std::function<bool(QWidget*)> ready;
    };
    std::deque<Step> steps_;
    QStringList failures_;
    QTimer poll_;
    QTimer watchdog_;
};

// Waits, processing events, until done() holds or timeoutMs has passed.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000);

}  // namespace restash::test
