#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <functional>

// Reads pictures from disk and scales them to the size they are shown at, on
// a thread of its own: decoding a full-size frame takes milliseconds, and the
// interface thread only gets the finished picture.
class ThumbnailLoader : public QObject
{
    Q_OBJECT

public:
    explicit ThumbnailLoader(QObject* parent = nullptr);
    // Waits for the picture being read, if any; queued ones are dropped.
    ~ThumbnailLoader() override;

    // Queues `path`, to be scaled to exactly `size` (ignoring its aspect:
    // callers have fitted the size already; an empty size keeps the
    // picture's own). `done` runs later on the loader's thread with the
    // picture, or a null image when the file cannot be read, unless
    // `receiver` is gone by then.
    void request(const QString& path, const QSize& size, QObject* receiver,
                 std::function<void(const QImage&)> done);

    // Reads and scales on the calling thread; a null image when the file
    // cannot be read. What request() runs.
    static QImage decode(const QString& path, const QSize& size);

private:
    QThreadPool m_pool;
};
