#pragma once

#include <QByteArray>
#include <QFuture>
#include <QHash>
#include <QObject>
#include <QString>

// The engine's facts of a file (its information block), read through the
// engine library. Reading one can take a while, so the list asks for them
// in the background as soon as a job would re-encode, and a job that starts
// later takes them ready or waits for the read already under way.
namespace EngineInfo {

// Reads the block now, on the calling thread; empty when the engine is not
// loaded or cannot read the file.
QByteArray ReadNow(const QString& path);

// The block's size in bytes.
int BlockSize();

// Loads the engine library from the application folder unless it is
// loaded from there already; true when it is loaded. Interface thread only.
bool LoadEngine();

} // namespace EngineInfo

class EngineInfoPrefetch : public QObject
{
    Q_OBJECT

public:
    explicit EngineInfoPrefetch(QObject* parent = nullptr);
    // Waits for the reads under way: they call into the engine.
    ~EngineInfoPrefetch() override;

    // Starts a background read unless one is under way for the path.
    void request(const QString& path);
    bool isPending(const QString& path) const { return m_pending.contains(path); }
    // The block of a read under way, waited for; empty when none is.
    QByteArray take(const QString& path);

signals:
    // A background read ended (empty block: it failed).
    void ready(const QString& path, const QByteArray& info);

private:
    QHash<QString, QFuture<QByteArray>> m_pending;
};
