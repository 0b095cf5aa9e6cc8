#include "convert/joincommand.h"

#include <QTest>

Q_DECLARE_METATYPE(MediaInfo)

namespace {
MediaInfo Reference()
{
    MediaInfo info;
    info.suffix = QStringLiteral("mp4");
    info.videoCodec = QStringLiteral("h264");
    info.frameRateText = QStringLiteral("25fps");
    info.width = 1280;
    info.height = 720;
    info.videoBitRateText = QStringLiteral("2000 kb/s");
    info.audioCodec = QStringLiteral("aac");
    info.sampleRateText = QStringLiteral("44100 Hz");
    info.channelsText = QStringLiteral("stereo");
    info.audioBitRateText = QStringLiteral(" 128 kb/s ");
    return info;
}
} // namespace

class TestJoinCommand : public QObject
{
    Q_OBJECT

private slots:
    void isSameFormat_data()
    {
        QTest::addColumn<MediaInfo>("other");
        QTest::addColumn<bool>("same");

        const MediaInfo ref = Reference();
        MediaInfo m = ref;
        m.videoBitRateText = QStringLiteral("9000 kb/s");
        m.audioBitRateText = QStringLiteral(" 64 kb/s ");
        m.duration = 5;
        QTest::newRow("bit rates and duration differ") << m << true;
        m = ref;
        m.videoCodec = QStringLiteral("hevc");
        QTest::newRow("video codec") << m << false;
        m = ref;
        m.frameRateText = QStringLiteral("30fps");
        QTest::newRow("frame rate") << m << false;
        m = ref;
        m.height = 1080;
        QTest::newRow("height") << m << false;
        m = ref;
        m.audioCodec.clear();
        QTest::newRow("no audio") << m << false;
        m = ref;
        m.sampleRateText = QStringLiteral("48000 Hz");
        QTest::newRow("sample rate") << m << false;
    }
    void isSameFormat()
    {
        QFETCH(MediaInfo, other);
        QFETCH(bool, same);
        QCOMPARE(IsSameFormat(Reference(), other), same);
        QCOMPARE(IsSameFormat(other, Reference()), same);

        ConvertItem a;
        a.itemId = 1;
        a.mediaInfo = Reference();
        ConvertItem b;
        b.itemId = 2;
        b.mediaInfo = other;
        QCOMPARE(IsSameFormat(a, b), same);
    }
    void freeOutputPathNeverReusesAName()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // A frozen clock makes every candidate collide until the counter helps.
        const QDateTime frozen(QDate(2026, 3, 1), QTime(10, 15, 0, 123));
        const QString suffix = QStringLiteral("mp4");
        QStringList taken;
        for (int i = 0; i < 3; ++i) {
            const QString path = FreeOutputFilePath(dir.path(), suffix, [&] { return frozen; });
            QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("user data");
            taken << path;
        }
        QCOMPARE(taken, (QStringList{dir.filePath("Join_file_101500123.mp4"),
                                     dir.filePath("Join_file_101500123(0).mp4"),
                                     dir.filePath("Join_file_101500123(1).mp4")}));

        // A dangling link is not a free name: writing to it would create its target.
        const QDateTime linked(QDate(2026, 3, 1), QTime(11, 0, 0, 0));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere.mp4")),
                            OutputFileCandidate(dir.path(), suffix, linked)));
        QCOMPARE(FreeOutputFilePath(dir.path(), suffix, [&] { return linked; }),
                 OutputFileCandidate(dir.path(), suffix, linked, 0));
    }
};

QTEST_GUILESS_MAIN(TestJoinCommand)
#include "test_joincommand.moc"
