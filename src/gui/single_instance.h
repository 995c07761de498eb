#pragma once
// One running Restash per user: the first start listens on a local socket;
// a later start finds it, asks it to bring its main window forward, and ends
// without showing a window.
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace restash {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // The per-user socket name.
    static QString DefaultName();

    explicit SingleInstance(QString name = DefaultName(), QObject* parent = nullptr);
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
