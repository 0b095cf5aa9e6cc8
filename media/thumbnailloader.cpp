#include "media/thumbnailloader.h"

#include <QImageReader>
#include <QPointer>

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent)
{
    // One reader: the media tools drawing the next thumbnails want the other
    // processor, and pictures of a list are wanted in list order anyway.
    m_pool.setMaxThreadCount(1);
    // The reader is made now and kept. Making a thread waits for any library
    // another thread is loading at that moment (the result check loads the
    // media libraries once the list is in), and the interface thread must
    // not wait for that when the first picture is asked for.
    m_pool.setExpiryTimeout(-1);
    m_pool.start([] {});
}

ThumbnailLoader::~ThumbnailLoader()
{
    m_pool.clear();
    // Workers post to this object; none may outlive it.
    m_pool.waitForDone();
}

void ThumbnailLoader::request(const QString& path, const QSize& size, QObject* receiver,
                              std::function<void(const QImage&)> done)
{
    // Made and read only on this thread: the worker merely carries it.
    QPointer<QObject> guard(receiver);
    m_pool.start([this, path, size, guard, done = std::move(done)] {
        const QImage image = decode(path, size);
        QMetaObject::invokeMethod(
            this,
            [guard, done, image] {
                if (guard)
                    done(image);
            },
            Qt::QueuedConnection);
    });
}

QImage ThumbnailLoader::decode(const QString& path, const QSize& size)
{
    QImageReader reader(path);
    const QSize full = reader.size();
    // JPEG pictures are decoded straight at a fraction of their size, which
    // is most of the saving; the rest is one smooth pass.
    if (size.isValid() && !size.isEmpty() && full.isValid() && full.width() > size.width() &&
        full.height() > size.height())
        reader.setScaledSize(size);
    QImage image = reader.read();
    if (image.isNull())
        return image;
    if (size.isValid() && !size.isEmpty() && image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The format a pixmap takes without another conversion on the interface
    // thread.
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}
