// The Setup and Preferences dialogs against a real RESTASH.INI: the fields,
// the Browse buttons and the directory chooser, the spin field's rules, OK
// and Cancel.
#include <QCheckBox>
#include <QComboBox>
#include <QListView>
#include <QStandardPaths>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

#include "core/platform/paths.h"
#include "gui/file_chooser.h"
#include "gui/layout.h"
#include "gui/preferences_dialog.h"
#include "gui/setup_dialog.h"
#include "tests/gui/support/gui_fixture.h"
#include "tests/gui/support/modal_driver.h"

using namespace restash;
using restash::test::GuiFixture;
using restash::test::ModalDriver;

class SetupPreferencesTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        fixture_ = std::make_unique<GuiFixture>();
        fixture_->LoadSettings();
    }
    void cleanup() {
        QVERIFY2(fixture_->messages.unanswered().empty(), "a question went unanswered");
        fixture_.reset();
    }

    void setupFieldsLabelsAndTabOrder();
    void setupShowsTheSettingsAndFocusesCancel();
    void setupOkWithoutChangesCreatesTheFileWithTheDefaults();
    void setupOkStoresTheEditedPaths();
    void setupCancelChangesNothing();
    void setupFailedWriteKeepsTheDialogOpen();
    void setupRefusesAnOfflineFolderOnTheCache();
    void browseButtonsAskWithTheirTitlesAndFilters();
    void cacheBrowseReadsThePatternFromTheFileWhenPressed();
    void browseStartsInTheFolderOfTheCurrentValue();
    void programsChoiceShowsOnlyFilesThatRun();
    void offlineBrowseAddsTheSeparator();
    void directoryChooserOffersToCreateAMissingFolder();
    void nameFilterAddsLowerCasePatterns();

    void preferencesFieldsAndTabOrder();
    void preferencesShowPullsGmtIntoRange();
    void preferencesOkAndCancel();
    void spinFieldKeys();
    void spinFieldLeavingOutOfRangeTakesTheBound();
    void spinFieldEnterGoesToOk();

private:
    template <typename T>
    T* Child(QWidget& w, const char* name) {
        T* child = w.findChild<T*>(name);
        if (!child) qFatal("no child %s", name);
        return child;
    }
    void Show(QDialog& d) {
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
    }
    std::unique_ptr<GuiFixture> fixture_;
};

void SetupPreferencesTest::setupFieldsLabelsAndTabOrder() {
    SetupDialog setup(fixture_->shell);
    QCOMPARE(setup.windowTitle(), QString("Restash - Setup"));
    QCOMPARE(setup.size(), QSize(Scaled(465), Scaled(337)));
    QCOMPARE(setup.minimumSize(), setup.maximumSize());
    const std::tuple<const char*, const char*, const char*> labels[] = {
        {"Label2", "Netscape &FAT File Location", "CacheEdit"},
        {"Label1", "Netscape &Program Location", "ExeEdit"},
        {"Label3", "Netscape Histor&y File Location", "HstEdit"},
        {"Label4", "Offline &Directory Path", "OfflineEdit"}};
    for (const auto& [name, caption, buddy] : labels) {
        auto* label = Child<QLabel>(setup, name);
        QCOMPARE(label->text(), QString(caption));
        QCOMPARE(label->buddy()->objectName(), QString(buddy));
    }
    for (const char* name : {"CacheBrowse", "ExeBrowse", "HstBrowse", "OfflineBrowse"})
        QCOMPARE(Child<QPushButton>(setup, name)->text(), QString("Browse"));
    QCOMPARE(Child<QPushButton>(setup, "OKButton")->text(), QString("&OK"));
    QVERIFY(Child<QPushButton>(setup, "OKButton")->isDefault());
    QCOMPARE(Child<QPushButton>(setup, "CancelButton")->text(), QString("&Cancel"));
    QCOMPARE(Child<QPushButton>(setup, "HelpButton")->text(), QString("&Help"));
    auto* autoFind = Child<QToolButton>(setup, "AutoFind");
    QVERIFY(autoFind->isHidden());
    QCOMPARE(autoFind->toolTip(), QString("Auto find paths"));
    QCOMPARE(Child<QLineEdit>(setup, "CacheEdit")->geometry(), ScaledRect(16, 25, 361, 26));
    QCOMPARE(restash::test::TabOrder(Child<QWidget>(setup, "CacheEdit"), 11),
             QStringList({"CacheEdit", "CacheBrowse", "ExeEdit", "ExeBrowse", "HstEdit", "HstBrowse", "OfflineEdit",
                          "OfflineBrowse", "OKButton", "CancelButton", "HelpButton"}));
}

void SetupPreferencesTest::setupShowsTheSettingsAndFocusesCancel() {
    fixture_->WriteIni("[paths]\r\ncachedir=/mnt/old/Cache/FAT.DB\r\nnetspath=/usr/bin/firefox\r\n"
                       "histpath=/mnt/old/netscape.hst\r\nofflinedir=/srv/Copies/\r\n");
    fixture_->LoadSettings();
    SetupDialog setup(fixture_->shell);
    Child<QLineEdit>(setup, "CacheEdit")->setText("typed before");
    Show(setup);
    // Letter case is kept: on this system it tells files apart.
    QCOMPARE(Child<QLineEdit>(setup, "CacheEdit")->text(), QString("/mnt/old/Cache/FAT.DB"));
    QCOMPARE(Child<QLineEdit>(setup, "ExeEdit")->text(), QString("/usr/bin/firefox"));
    QCOMPARE(Child<QLineEdit>(setup, "HstEdit")->text(), QString("/mnt/old/netscape.hst"));
    QCOMPARE(Child<QLineEdit>(setup, "OfflineEdit")->text(), QString("/srv/Copies/"));
    QCOMPARE(QApplication::focusWidget(), Child<QWidget>(setup, "CancelButton"));
}

void SetupPreferencesTest::setupOkWithoutChangesCreatesTheFileWithTheDefaults() {
    SetupDialog setup(fixture_->shell);
    Show(setup);
    const QString cache = Child<QLineEdit>(setup, "CacheEdit")->text();
    Child<QPushButton>(setup, "OKButton")->click();
    QCOMPARE(setup.result(), int(QDialog::Accepted));
    const std::string ini = fixture_->ReadIni();
    const auto cachedir = ini.find("cachedir="), histpath = ini.find("histpath="), netspath = ini.find("netspath="),
               offlinedir = ini.find("offlinedir=");
    QVERIFY(cachedir != std::string::npos && offlinedir != std::string::npos);
    QVERIFY(cachedir < histpath && histpath < netspath && netspath < offlinedir);
    QVERIFY(ini.find("cachedir=" + cache.toStdString()) != std::string::npos);
    QVERIFY(ini.find("offlinedir=" + fixture_->home() + "\r\n") != std::string::npos ||
            ini.find("offlinedir=" + fixture_->home() + "\n") != std::string::npos);
}

void SetupPreferencesTest::setupOkStoresTheEditedPaths() {
    SetupDialog setup(fixture_->shell);
    Show(setup);
    Child<QLineEdit>(setup, "CacheEdit")->setText("/mnt/old/cache/FAT.DB");
    Child<QLineEdit>(setup, "ExeEdit")->setText("/opt/netscape/NETSCAPE32.EXE");
    Child<QLineEdit>(setup, "HstEdit")->setText("/mnt/old/NETSCAPE.HST");
    Child<QLineEdit>(setup, "OfflineEdit")->setText("/srv/copies/");
    // Enter in a field presses the default button, OK.
    Child<QLineEdit>(setup, "OfflineEdit")->setFocus();
    QTest::keyClick(Child<QLineEdit>(setup, "OfflineEdit"), Qt::Key_Return);
    QCOMPARE(setup.result(), int(QDialog::Accepted));
    const Settings& s = fixture_->shell.settings;
    QCOMPARE(s.CacheDir, std::string("/mnt/old/cache/"));
    QCOMPARE(s.FatName, std::string("FAT.DB"));
    QCOMPARE(s.NetscapeExe, std::string("NETSCAPE32.EXE"));
    QCOMPARE(s.HistPath, std::string("/mnt/old/NETSCAPE.HST"));
    QCOMPARE(s.OfflineDir, std::string("/srv/copies/OFFLINE/"));
    // The next start reads the same.
    const Settings reread = LoadSettings(fixture_->home());
    QCOMPARE(reread.CacheIndexPath(), s.CacheIndexPath());
    QCOMPARE(reread.OfflineDir, s.OfflineDir);
}

void SetupPreferencesTest::setupCancelChangesNothing() {
    fixture_->WriteIni("[paths]\r\ncachedir=/a/FAT\r\n");
    fixture_->LoadSettings();
    const std::string before = fixture_->ReadIni();
    SetupDialog setup(fixture_->shell);
    // Esc, and Enter on Cancel (which has the focus as the window opens).
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        setup.setResult(-1);
        Show(setup);
        Child<QLineEdit>(setup, "CacheEdit")->setText("/b/FAT.DB");
        QCOMPARE(setup.focusWidget(), Child<QPushButton>(setup, "CancelButton"));
        QTest::keyClick(setup.focusWidget(), key);
        QCOMPARE(setup.result(), int(QDialog::Rejected));
        QCOMPARE(fixture_->ReadIni(), before);
        QCOMPARE(fixture_->shell.settings.CacheIndexPath(), std::string("/a/FAT"));
    }
    // The next showing starts again from the settings.
    Show(setup);
    QCOMPARE(Child<QLineEdit>(setup, "CacheEdit")->text(), QString("/a/FAT"));
}

void SetupPreferencesTest::setupFailedWriteKeepsTheDialogOpen() {
    // A home folder that cannot be made: a file stands where it should be.
    restash::test::WriteBytes(fixture_->home() + "blocker", "");
    fixture_->shell.settings.ProgramDir = fixture_->home() + "blocker/";
    SetupDialog setup(fixture_->shell);
    Show(setup);
    Child<QPushButton>(setup, "OKButton")->click();
    QVERIFY(setup.isVisible());
    QCOMPARE(fixture_->messages.Texts(),
             std::vector<std::string>{"Unable to write to " + fixture_->shell.settings.SettingsFilePath()});
    QCOMPARE(fixture_->messages.shown()[0].kind, MessageKind::Error);
}

void SetupPreferencesTest::setupRefusesAnOfflineFolderOnTheCache() {
    // The cache folder itself, and a folder whose OFFLINE is the cache folder,
    // would have a run write into the evidence; a folder beside it is fine.
    const std::string home = fixture_->home();
    std::filesystem::create_directories(home + "old/OFFLINE");
    restash::test::WriteBytes(home + "old/OFFLINE/FAT.DB", "index");
    const std::string cache = home + "old/OFFLINE/FAT.DB";
    const std::pair<std::string, bool> cases[] = {
        {home + "old/OFFLINE/", false}, {home + "old/", false}, {home + "copies/", true}};
    for (const auto& [offline, accepted] : cases) {
        fixture_->messages.ClearRecord();
        SetupDialog setup(fixture_->shell);
        Show(setup);
        Child<QLineEdit>(setup, "CacheEdit")->setText(QString::fromStdString(cache));
        Child<QLineEdit>(setup, "OfflineEdit")->setText(QString::fromStdString(offline));
        Child<QPushButton>(setup, "OKButton")->click();
        QCOMPARE(setup.isVisible(), !accepted);
        QCOMPARE(std::filesystem::exists(fixture_->shell.settings.SettingsFilePath()), accepted);
        if (accepted) continue;
        QCOMPARE(fixture_->messages.Texts().size(), std::size_t{1});
        const std::string text = fixture_->messages.Texts()[0];
        QVERIFY2(text.find(home + "old/") != std::string::npos, text.c_str());
        QCOMPARE(fixture_->messages.shown()[0].kind, MessageKind::Error);
    }
}

void SetupPreferencesTest::browseButtonsAskWithTheirTitlesAndFilters() {
    fixture_->WriteIni("[config]\r\nexename=firefox\r\nhstname=*.HST\r\n");
    fixture_->LoadSettings();
    SetupDialog setup(fixture_->shell);
    Show(setup);
    fixture_->chooser.file = "/chosen/file";
    Child<QPushButton>(setup, "ExeBrowse")->click();
    QCOMPARE(Child<QLineEdit>(setup, "ExeEdit")->text(), QString("/chosen/file"));
    fixture_->chooser.file.reset();
    const QString before = Child<QLineEdit>(setup, "HstEdit")->text();
    Child<QPushButton>(setup, "HstBrowse")->click();
    QCOMPARE(Child<QLineEdit>(setup, "HstEdit")->text(), before);
    const auto& asked = fixture_->chooser.asked;
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(asked[0].title, std::string("Browse Netscape Program File"));
    // The programs first, then every file, then the settings file's filter.
    QStringList programFilters;
    for (const FileFilter& f : asked[0].filters) programFilters << NameFilter(f) + (f.programsOnly ? "!" : "");
    QCOMPARE(programFilters, QStringList({"Programs (*)!", "All files (*)", "Netscape EXE (firefox)"}));
    QCOMPARE(asked[1].title, std::string("Browse Netscape History File"));
    QCOMPARE(asked[1].filters.size(), std::size_t{1});
    QCOMPARE(NameFilter(asked[1].filters[0]), QString("History File (*.HST *.hst)"));
}

void SetupPreferencesTest::cacheBrowseReadsThePatternFromTheFileWhenPressed() {
    SetupDialog setup(fixture_->shell);
    Show(setup);
    Child<QPushButton>(setup, "CacheBrowse")->click();
    fixture_->WriteIni("[config]\r\nfatname=index.db\r\n");
    fixture_->chooser.file = "/mnt/cache/index.db";
    Child<QPushButton>(setup, "CacheBrowse")->click();
    const auto& asked = fixture_->chooser.asked;
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(asked[0].title, std::string("Browse FAT File Location"));
    QCOMPARE(asked[0].filters.size(), std::size_t{1});
    QCOMPARE(asked[0].filters[0].description, std::string("Cache File"));
    QCOMPARE(asked[0].filters[0].patterns, (std::vector<std::string>{"FAT", "*.DB"}));
    QCOMPARE(asked[1].filters[0].patterns, (std::vector<std::string>{"index.db", "*.DB"}));
    QCOMPARE(Child<QLineEdit>(setup, "CacheEdit")->text(), QString("/mnt/cache/index.db"));
}

void SetupPreferencesTest::browseStartsInTheFolderOfTheCurrentValue() {
    const std::string cache = fixture_->home() + "cache/";
    std::filesystem::create_directories(cache);
    SetupDialog setup(fixture_->shell);
    Show(setup);
    struct Case {
        const char* edit;
        const char* button;
        std::string value;
        std::string startFolder;
    };
    const Case cases[] = {
        {"CacheEdit", "CacheBrowse", cache + "FAT.DB", cache},  // the file need not exist
        {"CacheEdit", "CacheBrowse", "/no/such/folder/FAT.DB", ""},
        {"HstEdit", "HstBrowse", fixture_->home() + "netscape.hst", fixture_->home()},
        {"ExeEdit", "ExeBrowse", "/bin/sh", "/bin/"},
        {"ExeEdit", "ExeBrowse", "sh", QFileInfo(QStandardPaths::findExecutable("sh")).path().toStdString() + "/"},
        {"ExeEdit", "ExeBrowse", "no-such-program-anywhere", ""},
        {"OfflineEdit", "OfflineBrowse", cache, cache},
        {"OfflineEdit", "OfflineBrowse", fixture_->home() + "not-yet/", ""},
    };
    for (const Case& c : cases) {
        Child<QLineEdit>(setup, c.edit)->setText(QString::fromStdString(c.value));
        Child<QPushButton>(setup, c.button)->click();
        const std::string start = fixture_->chooser.asked.back().startFolder;
        QCOMPARE(start.empty() ? start : WithTrailingSeparator(start), c.startFolder);
    }
}

void SetupPreferencesTest::programsChoiceShowsOnlyFilesThatRun() {
    const std::string folder = fixture_->home() + "bin/";
    std::filesystem::create_directories(folder + "tools");
    restash::test::WriteBytes(folder + "sensible-browser", "#!/bin/sh\n");
    std::filesystem::permissions(folder + "sensible-browser", std::filesystem::perms::owner_all);
    restash::test::WriteBytes(folder + "notes.txt", "text");
    FileDialog dialog(nullptr, {"Browse Netscape Program File", ProgramFilters("netscape"), folder});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(QDir(dialog.directory()).absolutePath() + "/", QString::fromStdString(folder));
    auto* view = dialog.findChild<QListView*>("listView");
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    QVERIFY(view && types);
    auto shown = [view] {
        QStringList names;
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        names.sort();
        return names;
    };
    // Each choice in turn: programs, every file, the settings file's name.
    const QStringList expected[] = {{"sensible-browser", "tools"}, {"notes.txt", "sensible-browser", "tools"},
                                    {"tools"}};
    for (int choice = 0; choice < 3; ++choice) {
        if (choice > 0) QTest::keyClick(types, Qt::Key_Down);
        QCOMPARE(types->currentIndex(), choice);
        restash::test::WaitFor([&] { return shown() == expected[choice]; }, 5000);
        QCOMPARE(shown(), expected[choice]);
    }
}

void SetupPreferencesTest::offlineBrowseAddsTheSeparator() {
    SetupDialog setup(fixture_->shell);
    Show(setup);
    fixture_->chooser.directory = "/srv/copies";
    Child<QPushButton>(setup, "OfflineBrowse")->click();
    QCOMPARE(Child<QLineEdit>(setup, "OfflineEdit")->text(), QString("/srv/copies/"));
    fixture_->chooser.directory = "/";
    Child<QPushButton>(setup, "OfflineBrowse")->click();
    QCOMPARE(Child<QLineEdit>(setup, "OfflineEdit")->text(), QString("/"));
    QCOMPARE(fixture_->chooser.asked[0].title, std::string("Select Directory"));
}

void SetupPreferencesTest::directoryChooserOffersToCreateAMissingFolder() {
    const std::string wanted = fixture_->home() + "new/deeper";
    MessageBox& messages = fixture_->messages;
    DirectoryDialog dialog(nullptr, "Select Directory", messages);
    dialog.setDirectory(QString::fromStdString(fixture_->home()));
    ModalDriver driver;
    auto type = [&](QWidget* w) {
        w->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(wanted));
        static_cast<QDialog*>(w)->accept();
    };
    // No goes back to the chooser; Yes creates the folder with its parent.
    messages.SetNextAnswer(Answer::No);
    messages.SetNextAnswer(Answer::Yes);
    bool stillOpen = false;
    driver.When("restash::DirectoryDialog", type)
        .When("restash::DirectoryDialog", [&](QWidget* w) {
            stillOpen = !std::filesystem::exists(wanted);
            type(w);
        });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY2(driver.failures().isEmpty(), qPrintable(driver.failures().join("; ")));
    QVERIFY(stillOpen);
    QVERIFY(std::filesystem::is_directory(wanted));
    QCOMPARE(dialog.windowTitle(), QString("Select Directory"));
    QCOMPARE(messages.Texts(), (std::vector<std::string>{"The specified directory does not exist. Create it?",
                                                         "The specified directory does not exist. Create it?"}));
    QCOMPARE(QDir::cleanPath(dialog.directory().absolutePath()), QDir::cleanPath(QString::fromStdString(wanted)));
}

void SetupPreferencesTest::nameFilterAddsLowerCasePatterns() {
    QCOMPARE(NameFilter("Cache File", SplitPatterns("FAT;*.DB")), QString("Cache File (FAT fat *.DB *.db)"));
    QCOMPARE(NameFilter("History File", SplitPatterns("netscape.hst")), QString("History File (netscape.hst)"));
    QCOMPARE(SplitPatterns(";FAT;;*.DB;"), (std::vector<std::string>{"FAT", "*.DB"}));
}

void SetupPreferencesTest::preferencesFieldsAndTabOrder() {
    PreferencesDialog prefs(fixture_->shell);
    QCOMPARE(prefs.windowTitle(), QString("Restash - Preferences"));
    QCOMPARE(prefs.size(), QSize(Scaled(377), Scaled(201)));
    QCOMPARE(Child<QCheckBox>(prefs, "NotFoundCheck")->text(), QString("Retain Original URL's with Uncached Links"));
    QCOMPARE(Child<QCheckBox>(prefs, "EmphTagCheck")->text(), QString("Show Available Links as Blinking Text"));
    QCOMPARE(Child<QLabel>(prefs, "Label1")->text(), QString("Adjustment for GMT (Hours)"));
    QVERIFY(Child<QPushButton>(prefs, "OKButton")->isDefault());
    QCOMPARE(Child<QWidget>(prefs, "GMTSEdit")->geometry(), ScaledRect(40, 79, 57, 26));
    QCOMPARE(restash::test::TabOrder(Child<QWidget>(prefs, "NotFoundCheck"), 6),
             QStringList({"NotFoundCheck", "EmphTagCheck", "GMTSEdit", "OKButton", "CancelButton", "HelpButton"}));
}

void SetupPreferencesTest::preferencesShowPullsGmtIntoRange() {
    fixture_->WriteIni("[preferences]\r\nGMT=30\r\nNotFoundURL=2\r\nemphtag=0\r\n");
    fixture_->LoadSettings();
    PreferencesDialog prefs(fixture_->shell);
    Show(prefs);
    QCOMPARE(Child<GmtSpinBox>(prefs, "GMTSEdit")->Value(), 24);
    QVERIFY(Child<QCheckBox>(prefs, "NotFoundCheck")->isChecked());
    QVERIFY(!Child<QCheckBox>(prefs, "EmphTagCheck")->isChecked());
    QCOMPARE(QApplication::focusWidget(), Child<QWidget>(prefs, "CancelButton"));
    Child<QPushButton>(prefs, "OKButton")->click();
    QCOMPARE(fixture_->shell.settings.GMT, 24);
    QCOMPARE(LoadSettings(fixture_->home()).GMT, 24);
}

void SetupPreferencesTest::preferencesOkAndCancel() {
    PreferencesDialog prefs(fixture_->shell);
    Show(prefs);
    Child<QCheckBox>(prefs, "NotFoundCheck")->setChecked(true);
    QTest::keyClick(&prefs, Qt::Key_Escape);
    QVERIFY(!restash::test::FileExists(fixture_->IniPath()));
    QVERIFY(!fixture_->shell.settings.NotFoundURL);

    Show(prefs);
    QVERIFY(!Child<QCheckBox>(prefs, "NotFoundCheck")->isChecked());
    Child<QCheckBox>(prefs, "NotFoundCheck")->setChecked(true);
    Child<QCheckBox>(prefs, "EmphTagCheck")->setChecked(false);
    Child<GmtSpinBox>(prefs, "GMTSEdit")->SetValue(-5);
    Child<QPushButton>(prefs, "OKButton")->click();
    const std::string ini = fixture_->ReadIni();
    const auto gmt = ini.find("GMT=-5"), notFound = ini.find("NotFoundURL=1"), emph = ini.find("EmphTag=0");
    QVERIFY2(gmt != std::string::npos && notFound != std::string::npos && emph != std::string::npos, ini.c_str());
    QVERIFY(gmt < notFound && notFound < emph);
    const Settings reread = LoadSettings(fixture_->home());
    QCOMPARE(reread.GMT, -5);
    QVERIFY(reread.NotFoundURL);
    QVERIFY(!reread.EmphTag);
}

void SetupPreferencesTest::spinFieldKeys() {
    PreferencesDialog prefs(fixture_->shell);
    Show(prefs);
    auto* spin = Child<GmtSpinBox>(prefs, "GMTSEdit");
    auto* edit = spin->findChild<QLineEdit*>();
    spin->setFocus();
    edit->clear();
    QTest::keyClicks(spin, "x-1a2 ");
    QCOMPARE(edit->text(), QString("-12"));
    QCOMPARE(spin->Value(), -12);
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->Value(), -11);
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::keyClick(spin, Qt::Key_Down);
    QCOMPARE(spin->Value(), -13);
    spin->SetValue(24);
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->Value(), 24);
    // Not whole numbers read as the lowest value.
    edit->setText("1.5");
    QCOMPARE(spin->Value(), -24);
    edit->clear();
    QCOMPARE(spin->Value(), -24);
    spin->SetValue(-99);
    QCOMPARE(edit->text(), QString("-24"));
}

void SetupPreferencesTest::spinFieldLeavingOutOfRangeTakesTheBound() {
    PreferencesDialog prefs(fixture_->shell);
    Show(prefs);
    auto* spin = Child<GmtSpinBox>(prefs, "GMTSEdit");
    spin->setFocus();
    spin->findChild<QLineEdit*>()->setText("30");
    QTest::keyClick(spin, Qt::Key_Tab);
    QCOMPARE(spin->findChild<QLineEdit*>()->text(), QString("24"));
}

void SetupPreferencesTest::spinFieldEnterGoesToOk() {
    PreferencesDialog prefs(fixture_->shell);
    Show(prefs);
    auto* spin = Child<GmtSpinBox>(prefs, "GMTSEdit");
    spin->setFocus();
    spin->findChild<QLineEdit*>()->setText("7");
    QTest::keyClick(spin, Qt::Key_Return);
    QCOMPARE(prefs.result(), int(QDialog::Accepted));
    QVERIFY(!prefs.isVisible());
    QCOMPARE(fixture_->shell.settings.GMT, 7);
}

QTEST_MAIN(SetupPreferencesTest)
#include "setup_preferences_test.moc"
