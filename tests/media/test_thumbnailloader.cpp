// Thumbnails read aside from the interface thread: the picture arrives at the
// size asked for and shows what the file shows, a file that is not a picture
// answers with nothing, and an answer for a receiver that has gone is dropped.
#include "media/thumbnailloader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestThumbnailLoader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_picture;

    // Waits for the answers of `count` requests.
    static QList<QImage> collect(ThumbnailLoader& loader, const QString& path,
                                 const QList<QSize>& sizes, QObject* receiver)
    {
        QList<QImage> answers;
        for (const QSize& size : sizes)
            loader.request(path, size, receiver,
                           [&answers](const QImage& image) { answers.append(image); });
        QElapsedTimer waited;
        waited.start();
        while (answers.size() < sizes.size() && waited.elapsed() < 10000)
            QTest::qWait(5);
        return answers;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Red on the left, blue on the right, as a frame a tool would write.
        QImage frame(640, 360, QImage::Format_RGB32);
        frame.fill(Qt::red);
        for (int y = 0; y < frame.height(); ++y)
            for (int x = frame.width() / 2; x < frame.width(); ++x)
                frame.setPixel(x, y, qRgb(0, 0, 255));
        m_picture = m_dir.filePath(QStringLiteral("frame.jpg"));
        QVERIFY(frame.save(m_picture, "JPEG", 90));
    }

    void arrivesAtTheSizeAskedFor_data()
    {
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("row thumbnail") << QSize(128, 72) << QSize(128, 72);
        QTest::newRow("odd size") << QSize(67, 38) << QSize(67, 38);
        QTest::newRow("larger than the file") << QSize(800, 450) << QSize(800, 450);
        QTest::newRow("other aspect") << QSize(100, 100) << QSize(100, 100);
        QTest::newRow("no size: its own") << QSize() << QSize(640, 360);
    }
    void arrivesAtTheSizeAskedFor()
    {
        QFETCH(QSize, asked);
        QFETCH(QSize, expected);
        ThumbnailLoader loader;
        QObject receiver;
        const QList<QImage> answers = collect(loader, m_picture, {asked}, &receiver);
        QCOMPARE(answers.size(), 1);
        const QImage image = answers.first();
        QCOMPARE(image.size(), expected);
        // Still the frame: red on the left, blue on the right.
        const QColor left = image.pixelColor(image.width() / 8, image.height() / 2);
        const QColor right = image.pixelColor(image.width() * 7 / 8, image.height() / 2);
        QVERIFY2(left.red() > 200 && left.blue() < 60, qPrintable(left.name()));
        QVERIFY2(right.blue() > 200 && right.red() < 60, qPrintable(right.name()));
    }

    void notAPictureAnswersWithNothing_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::newRow("text") << QByteArray("not a picture\n");
        QTest::newRow("cut short") << QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF", 10);
        QTest::newRow("missing") << QByteArray();
    }
    void notAPictureAnswersWithNothing()
    {
        QFETCH(QByteArray, content);
        const QString path = m_dir.filePath(QStringLiteral("bad.jpg"));
        QFile::remove(path);
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        ThumbnailLoader loader;
        QObject receiver;
        // Answered all the same, so the row can show its stand-in.
        const QList<QImage> answers = collect(loader, path, {QSize(128, 72)}, &receiver);
        QCOMPARE(answers.size(), 1);
        QVERIFY(answers.first().isNull());
    }

    void answersForAGoneReceiverAreDropped()
    {
        ThumbnailLoader loader;
        auto gone = std::make_unique<QObject>();
        QObject kept;
        int toGone = 0;
        for (int i = 0; i < 20; ++i)
            loader.request(m_picture, QSize(128, 72), gone.get(),
                           [&toGone](const QImage&) { ++toGone; });
        gone.reset();
        // Asked after the others, so it is answered after them.
        const QList<QImage> answers = collect(loader, m_picture, {QSize(64, 36)}, &kept);
        QCOMPARE(answers.size(), 1);
        QCOMPARE(answers.first().size(), QSize(64, 36));
        QCOMPARE(toGone, 0);
    }

    void goingAwayWithWorkQueued()
    {
        // Must neither crash nor answer into a loader that is gone.
        int answered = 0;
        QObject receiver;
        {
            ThumbnailLoader loader;
            for (int i = 0; i < 50; ++i)
                loader.request(m_picture, QSize(128, 72), &receiver,
                               [&answered](const QImage&) { ++answered; });
        }
        QTest::qWait(100);
        QCOMPARE(answered, 0);
    }
};

QTEST_GUILESS_MAIN(TestThumbnailLoader)
#include "test_thumbnailloader.moc"
