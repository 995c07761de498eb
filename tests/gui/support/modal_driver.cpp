#include "tests/gui/support/modal_driver.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QWidget>
#include <QThread>

namespace restash::test {

ModalDriver::ModalDriver(int watchdogMs) {
    poll_.setInterval(5);
    connect(&poll_, &QTimer::timeout, this, &ModalDriver::Poll);
    watchdog_.setSingleShot(true);
    watchdog_.setInterval(watchdogMs);
    connect(&watchdog_, &QTimer::timeout, this, &ModalDriver::Expire);
}

ModalDriver::~ModalDriver() = default;

ModalDriver& ModalDriver::When(const QString& className, std::function<void(QWidget*)> action,
                               std::function<bool(QWidget*)> ready) {
    steps_.push_back({className, std::move(action), std::move(ready)});
    if (!poll_.isActive()) poll_.start();
    if (!watchdog_.isActive()) watchdog_.start();
    return *this;
}

void ModalDriver::Poll() {
    if (steps_.empty()) return;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    Step& step = steps_.front();
    if (QString::fromLatin1(modal->metaObject()->className()) != step.className) return;
    if (step.ready && !step.ready(modal)) return;
    Step current = std::move(step);
    steps_.pop_front();
    if (steps_.empty()) poll_.stop();
    // The action may open a nested modal window: polling goes on inside it.
    current.action(modal);
}

void ModalDriver::Expire() {
    poll_.stop();
    for (const Step& step : steps_) failures_ << QStringLiteral("never reached: %1").arg(step.className);
    steps_.clear();
    if (QWidget* modal = QApplication::activeModalWidget())
        failures_ << QStringLiteral("left open: %1").arg(QString::fromLatin1(modal->metaObject()->className()));
    // Unwind every modal window so the test returns and reports.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->done(QDialog::Rejected);
        } else {
            modal->close();
        }
        QCoreApplication::processEvents();
        if (QApplication::activeModalWidget() == modal) break;
    }
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

}  // namespace restash::test
