#include "convert/joincommand.h"

#include <QFile>
#include <QTemporaryDir>
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
    void listFileBytes_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("expected"); // empty: refused

        QTest::newRow("two segments")
            << QStringList{"segment_0.mp4", "segment_1.mp4"}
            << QByteArray("file 'segment_0.mp4' \r\nfile 'segment_1.mp4' \r\n");
        // Inside single quotes nothing is special, so a quote must close the
        // quoted text, appear escaped and reopen it.
        QTest::newRow("single quote")
            << QStringList{"it's.mp4"} << QByteArray("file 'it'\\''s.mp4' \r\n");
        QTest::newRow("non-ASCII as UTF-8")
            << QStringList{QString::fromUtf8("\xe8\xa7\x86\xe9\xa2\x91 Grüße.mp4")}
            << QByteArray("file '\xe8\xa7\x86\xe9\xa2\x91 Gr\xc3\xbc\xc3\x9f"
                          "e.mp4' \r\n");
        // A name with a line break would smuggle a second entry into the list.
        QTest::newRow("line feed refused")
            << QStringList{"segment_0.mp4", "a\nfile '/etc/passwd'.mp4"} << QByteArray();
        QTest::newRow("carriage return refused")
            << QStringList{"segment_0.mp4", "a\rb.mp4"} << QByteArray();
    }
    void listFileBytes()
    {
        QFETCH(QStringList, names);
        QFETCH(QByteArray, expected);
        QCOMPARE(JoinListFileBytes(names), expected);
    }
    // Input options before the input, output last, and an existing output is
    // refused (-n) rather than asked about or overwritten.
    void joinArguments()
    {
        QCOMPARE(
            JoinArguments(QStringLiteral("/w/join.txt"), QStringLiteral("/out/Join_file_1.mp4")),
            (QStringList{"-n", "-f", "concat", "-safe", "0", "-i", "/w/join.txt", "-c", "copy",
                         "/out/Join_file_1.mp4"}));
    }
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
