#pragma once
// One running Restash per user, per display and per settings home: the first
// start listens on a local socket named for that place; a later start in the
// same place finds it, asks it to bring its main window forward, and ends
// without showing a window. A start on another display (or Wayland session),
// or with another settings home (RESTASH_HOME, a portable copy), finds no
// one listening and opens its own window.
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace restash {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // The socket's path: runtimeDir/restash-UID-DISPLAY-HASH, where DISPLAY
    // is the display's name in letters, digits, ".", "-" and "_", and HASH
    // is taken from the settings home's path.
    static QString NameFor(const QString& runtimeDir, unsigned uid, const QString& display,
                           const QString& settingsHome);
    // $XDG_RUNTIME_DIR when it is a folder, else the temporary folder.
    static QString RuntimeDir();
    // The display this program shows on: the window system and its display
    // ("xcb::0", "wayland:wayland-0"), the screen number left out.
    static QString DisplayName();
    // The name for this user and display and the settings home.
    static QString DefaultName(const QString& settingsHome);

    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only instance: it now listens for later starts.
    // False when another instance answered: it has been asked to come forward.
    bool Claim();

signals:
    // A later start asked this instance to bring its main window forward.
    void raiseRequested();

private:
    void OnConnection();

    QString name_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace restash
