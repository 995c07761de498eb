#include "gui/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <unistd.h>

namespace restash {

namespace {
constexpr char kRaise[] = "raise\n";
constexpr int kWaitMs = 2000;
// A socket's path must fit in about a hundred bytes.
constexpr int kDisplayChars = 40;
constexpr int kHashChars = 16;
}  // namespace

QString SingleInstance::NameFor(const QString& runtimeDir, unsigned uid, const QString& display,
                                const QString& settingsHome) {
    QString shown = display;
    shown.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    // Two homes that are one folder ("/a/b" and "/a/./b/") share an instance.
    const QString home = QDir::cleanPath(QFileInfo(settingsHome).absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(home.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QDir(runtimeDir).filePath(QStringLiteral("restash-%1-%2-%3")
                                         .arg(uid)
                                         .arg(shown.left(kDisplayChars), QString::fromLatin1(hash.left(kHashChars))));
}

QString SingleInstance::RuntimeDir() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime;
    return QDir::tempPath();
}

QString SingleInstance::DisplayName() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("wayland")) {
        const QString session = qEnvironmentVariable("WAYLAND_DISPLAY");
        return platform + QLatin1Char(':') + (session.isEmpty() ? QStringLiteral("wayland-0") : session);
    }
    // host:display.screen names one display for every screen number.
    QString display = qEnvironmentVariable("DISPLAY");
    display.remove(QRegularExpression(QStringLiteral("\\.\\d+$")));
    return platform + QLatin1Char(':') + display;
}

QString SingleInstance::DefaultName(const QString& settingsHome) {
    return NameFor(RuntimeDir(), static_cast<unsigned>(::getuid()), DisplayName(), settingsHome);
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim() {
    // Two starts at the same moment must not both become the first: the
    // look and the claim happen under one lock.
    QLockFile lock(QDir::temp().filePath(name_ + QStringLiteral(".lock")));
    lock.lock();

    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(kWaitMs)) {
        socket.write(kRaise);
        socket.waitForBytesWritten(kWaitMs);
        socket.disconnectFromServer();
        return false;
    }

    // Nobody answered: a socket file left by a crashed instance is stale.
    QLocalServer::removeServer(name_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    server_->listen(name_);
    return true;
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        auto read = [this, client] {
            if (client->readAll().contains("raise")) emit raiseRequested();
        };
        connect(client, &QLocalSocket::readyRead, this, read);
        if (client->bytesAvailable() > 0) read();
    }
}

}  // namespace restash
