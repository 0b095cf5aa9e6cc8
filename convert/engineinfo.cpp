#include "convert/engineinfo.h"

#include "app/appfolder.h"
#include "convert/enginelibrary.h"

#include <QFutureWatcher>
#include <QtConcurrent>
#include <QtEndian>

namespace EngineInfo {

QByteArray ReadNow(const QString& path)
{
    const auto getInfo = EngineLibrary::Functions().getInfo;
    if (!getInfo)
        return QByteArray();
    QByteArray info(OrvelaneInfoSize, '\0');
    qToLittleEndian<qint32>(OrvelaneInfoSize, info.data() + OrvelaneInfoOffsetSize);
    if (getInfo(path.toUtf8().constData(), info.data(), 0) != 0)
        return QByteArray();
    return info;
}

bool LoadEngine()
{
    // The engine of the program's own folder: loaded once, and again only
    // when the folder is another (tests point the program elsewhere).
    static QString loadedFrom;
    const QString folder = AppFolder();
    if (!EngineLibrary::loaded() || folder != loadedFrom) {
        EngineLibrary::Load(folder);
        loadedFrom = folder;
    }
    return EngineLibrary::loaded();
}

int BlockSize()
{
    return OrvelaneInfoSize;
}

} // namespace EngineInfo

EngineInfoPrefetch::EngineInfoPrefetch(QObject* parent) : QObject(parent) {}

EngineInfoPrefetch::~EngineInfoPrefetch()
{
    for (QFuture<QByteArray>& future : m_pending)
        future.waitForFinished();
}

void EngineInfoPrefetch::request(const QString& path)
{
    if (m_pending.contains(path) || !EngineLibrary::loaded())
        return;
    QFuture<QByteArray> future = QtConcurrent::run(&EngineInfo::ReadNow, path);
    m_pending.insert(path, future);
    auto* watcher = new QFutureWatcher<QByteArray>(this);
    connect(watcher, &QFutureWatcher<QByteArray>::finished, this, [this, watcher, path] {
        watcher->deleteLater();
        // A job may have taken the block already.
        if (!m_pending.contains(path))
            return;
        emit ready(path, m_pending.take(path).result());
    });
    watcher->setFuture(future);
}

QByteArray EngineInfoPrefetch::take(const QString& path)
{
    if (!m_pending.contains(path))
        return QByteArray();
    return m_pending.take(path).result();
}
