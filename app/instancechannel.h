#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class QLocalServer;

// The running copy's door for a second start: the second copy hands over the
// files it was given and leaves; the running copy adds them to its list.
// The socket lives in the user's private folder beside the lock, so only
// this user can reach it.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;

    static QString socketPath();

    // For the copy that holds the lock. A socket left by a copy that died is
    // replaced.
    bool listen();

    // For a second copy: delivers `files` (possibly none: the running copy
    // then only comes to the front). Waits up to `timeoutMs` for the running
    // copy, which may still be starting. True when it took them.
    static bool sendToRunningCopy(const QStringList& files, int timeoutMs = 5000);

signals:
    // A second start asked for these files (possibly none).
    void filesReceived(const QStringList& files);

private:
    void acceptConnection();

    std::unique_ptr<QLocalServer> m_server;
};
