// The start of the program: one instance per user, display and settings
// home, the splash window and the About box.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "gui/about_dialog.h"
#include "gui/single_instance.h"
#include "gui/splash_screen.h"
#include "tests/gui/support/modal_driver.h"

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void secondStartAsksTheFirstToComeForward();
    void staleSocketFromACrashedInstanceIsTakenOver();
    void anInstanceIsSharedOnlyByTheSameUserDisplayAndHome();
    void splashWaitsForItsTimerThenClearsTheFlag();
    void splashLayout();
    void aboutBoxTextsAndEscapeAnswersOk();

private:
    QString UniqueName() {
        return QStringLiteral("restash-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter_);
    }
    int counter_ = 0;
};

void StartupTest::secondStartAsksTheFirstToComeForward() {
    const QString name = UniqueName();
    restash::SingleInstance first(name);
    QVERIFY(first.Claim());
    QSignalSpy raised(&first, &restash::SingleInstance::raiseRequested);

    restash::SingleInstance second(name);
    QVERIFY(!second.Claim());
    QVERIFY(raised.wait(5000));
    QCOMPARE(raised.count(), 1);

    // The first goes on answering later starts.
    restash::SingleInstance third(name);
    QVERIFY(!third.Claim());
    QVERIFY(raised.wait(5000));
}

void StartupTest::staleSocketFromACrashedInstanceIsTakenOver() {
    const QString name = UniqueName();
    QFile stale(QDir::temp().filePath(name));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();

    restash::SingleInstance first(name);
    QVERIFY(first.Claim());
    restash::SingleInstance second(name);
    QVERIFY(!second.Claim());
}

void StartupTest::anInstanceIsSharedOnlyByTheSameUserDisplayAndHome() {
    using restash::SingleInstance;
    const QString home = QDir::temp().filePath(QStringLiteral("restash-home"));
    const QString runtime = QStringLiteral("/run/user/1000");
    const QString base = SingleInstance::NameFor(runtime, 1000, QStringLiteral("xcb::0"), home);
    struct Case {
        const char* what;
        unsigned uid;
        QString display;
        QString home;
        bool shared;
    };
    const Case cases[] = {
        {"the same place", 1000, QStringLiteral("xcb::0"), home, true},
        {"the home spelled another way", 1000, QStringLiteral("xcb::0"), home + QStringLiteral("/./"), true},
        {"another user", 1001, QStringLiteral("xcb::0"), home, false},
        {"another display", 1000, QStringLiteral("xcb::1"), home, false},
        {"a Wayland session", 1000, QStringLiteral("wayland:wayland-0"), home, false},
        {"another home", 1000, QStringLiteral("xcb::0"), home + QStringLiteral("-portable"), false},
    };
    for (const Case& c : cases) {
        const QString name = SingleInstance::NameFor(runtime, c.uid, c.display, c.home);
        QVERIFY2((name == base) == c.shared, c.what);
        // A socket's path must stay short and lie in the runtime folder.
        QVERIFY2(name.startsWith(QStringLiteral("/run/user/1000/restash-")) && name.size() < 100, c.what);
    }
    // A display named over the network, with odd characters and its screen.
    const QString remote = SingleInstance::NameFor(QStringLiteral("/tmp"), 1, QStringLiteral("xcb:host/x:10"), home);
    QVERIFY(!QFileInfo(remote).fileName().contains(QLatin1Char('/')));
    QCOMPARE(QFileInfo(remote).path(), QStringLiteral("/tmp"));
    qputenv("DISPLAY", ":7.1");
    const QString screen1 = SingleInstance::DisplayName();
    qputenv("DISPLAY", ":7");
    QCOMPARE(SingleInstance::DisplayName(), screen1);
}

void StartupTest::splashWaitsForItsTimerThenClearsTheFlag() {
    restash::SplashScreen splash(50);
    QVERIFY(splash.SplashActive());
    QElapsedTimer clock;
    clock.start();
    splash.ShowAndWait();
    QVERIFY(!splash.SplashActive());
    QVERIFY(splash.isVisible());
    QVERIFY(clock.elapsed() >= 45);
}

void StartupTest::splashLayout() {
    restash::SplashScreen splash(10000);
    QCOMPARE(splash.size(), QSize(282, 160));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    auto* version = splash.findChild<QLabel*>("Version");
    QVERIFY(version);
    QCOMPARE(version->text(), QString("Version 5.3 32bit"));
    QVERIFY(version->font().bold());
    QCOMPARE(version->geometry().topLeft(), QPoint(32, 128));
    auto* picture = splash.findChild<QLabel*>("Image1");
    QVERIFY(picture && !picture->pixmap().isNull());
    QCOMPARE(picture->geometry(), QRect(14, 16, 250, 75));
    auto* timer = splash.findChild<QTimer*>("Timer1");
    QVERIFY(timer && timer->isActive());
}

void StartupTest::aboutBoxTextsAndEscapeAnswersOk() {
    restash::AboutDialog about;
    QCOMPARE(about.windowTitle(), QString("About Restash"));
    auto* ok = about.findChild<QPushButton*>("Button1");
    QVERIFY(ok);
    QCOMPARE(ok->text(), QString("&OK"));
    QVERIFY(ok->isDefault());
    QCOMPARE(about.findChild<QLabel*>("Version")->text(), QString("Version 5.3 32bit"));

    restash::test::ModalDriver driver;
    driver.When("restash::AboutDialog", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(about.exec(), int(QDialog::Accepted));
    QVERIFY(driver.failures().isEmpty());
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
