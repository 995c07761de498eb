#include "gui/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <unistd.h>

namespace restash {

namespace {
constexpr char kRaise[] = "raise\n";
constexpr int kWaitMs = 2000;
}  // namespace

QString SingleInstance::DefaultName() {
    return QStringLiteral("restash-%1").arg(static_cast<qulonglong>(::getuid()));
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
