#include "convert/joincommand.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestJoinCommand : public QObject
{
    Q_OBJECT

private slots:
    void listFileBytes_data();
    void listFileBytes();
    void listFileRefusesLineBreaks_data();
    void listFileRefusesLineBreaks();
    void joinArguments();
    void isSameFormat_data();
    void isSameFormat();
    void sameRecordIsSameFormat();
    void outputCandidate();
    void freeOutputPathNeverReusesAName();
};

void TestJoinCommand::listFileBytes_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("none") << QStringList{} << QByteArray();
    QTest::newRow("three segments")
        << QStringList{"segment_0.mp4", "segment_1.mp4", "segment_2.mp4"}
        << QByteArray(
               "file 'segment_0.mp4' \r\nfile 'segment_1.mp4' \r\nfile 'segment_2.mp4' \r\n");
    QTest::newRow("spaces") << QStringList{"/my videos/a b.mkv"}
                            << QByteArray("file '/my videos/a b.mkv' \r\n");
    // Inside single quotes nothing is special, so a quote must close the
    // quoted text, appear escaped and reopen it.
    QTest::newRow("single quote") << QStringList{"it's.mp4"}
                                  << QByteArray("file 'it'\\''s.mp4' \r\n");
    QTest::newRow("double quote and backslash")
        << QStringList{"a\"b\\c.mp4"} << QByteArray("file 'a\"b\\c.mp4' \r\n");
    QTest::newRow("non-ASCII as UTF-8")
        << QStringList{QString::fromUtf8("\xe8\xa7\x86\xe9\xa2\x91 Grüße.mp4")}
        << QByteArray("file '\xe8\xa7\x86\xe9\xa2\x91 Gr\xc3\xbc\xc3\x9f"
                      "e.mp4' \r\n");
}

void TestJoinCommand::listFileBytes()
{
    QFETCH(QStringList, names);
    QFETCH(QByteArray, expected);
    QCOMPARE(JoinListFileBytes(names), expected);
}

void TestJoinCommand::listFileRefusesLineBreaks_data()
{
    QTest::addColumn<QString>("badName");
    QTest::newRow("line feed") << QStringLiteral("a\nfile '/etc/passwd'.mp4");
    QTest::newRow("carriage return") << QStringLiteral("a\rb.mp4");
    QTest::newRow("nul") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b.mp4"));
}

// A name with a line break would smuggle a second entry into the list.
void TestJoinCommand::listFileRefusesLineBreaks()
{
    QFETCH(QString, badName);
    QVERIFY(JoinListFileBytes({QStringLiteral("segment_0.mp4"), badName}).isEmpty());
}

void TestJoinCommand::joinArguments()
{
    const QStringList args =
        JoinArguments(QStringLiteral("/w/join.txt"), QStringLiteral("/out/Join_file_1.mp4"));
    // The input options come before the input, the output is last, and an
    // existing output is refused rather than asked about.
    const qsizetype input = args.indexOf(QStringLiteral("-i"));
    QVERIFY(input > 0);
    QCOMPARE(args.at(input + 1), QStringLiteral("/w/join.txt"));
    QCOMPARE(args.mid(0, input).join(QLatin1Char(' ')).contains(QStringLiteral("-f concat")), true);
    QVERIFY(args.mid(0, input).contains(QStringLiteral("-n")));
    QVERIFY(!args.contains(QStringLiteral("-y")));
    QCOMPARE(args.mid(input + 2), (QStringList{"-c", "copy", "/out/Join_file_1.mp4"}));
}

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

void TestJoinCommand::isSameFormat_data()
{
    QTest::addColumn<MediaInfo>("other");
    QTest::addColumn<bool>("same");

    const MediaInfo ref = Reference();
    MediaInfo m;
    QTest::newRow("identical") << ref << true;
    m = ref;
    m.videoBitRateText = QStringLiteral("9000 kb/s");
    m.audioBitRateText = QStringLiteral(" 64 kb/s ");
    m.duration = 5;
    QTest::newRow("bit rates and duration differ") << m << true;
    m = ref;
    m.suffix = QStringLiteral("MP4");
    QTest::newRow("suffix case") << m << false;
    m = ref;
    m.videoCodec = QStringLiteral("hevc");
    QTest::newRow("video codec") << m << false;
    m = ref;
    m.frameRateText = QStringLiteral("30fps");
    QTest::newRow("frame rate") << m << false;
    m = ref;
    m.width = 1920;
    QTest::newRow("width") << m << false;
    m = ref;
    m.height = 1080;
    m = ref;
    m.audioCodec = QStringLiteral("mp3");
    QTest::newRow("audio codec") << m << false;
    m = ref;
    m.audioCodec.clear();
    QTest::newRow("no audio") << m << false;
    m = ref;
    m.sampleRateText = QStringLiteral("48000 Hz");
    QTest::newRow("sample rate") << m << false;
    m = ref;
    m.channelsText = QStringLiteral("mono");
    QTest::newRow("channels") << m << false;
}

void TestJoinCommand::isSameFormat()
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

void TestJoinCommand::sameRecordIsSameFormat()
{
    ConvertItem a;
    a.itemId = 4;
    a.mediaInfo = Reference();
    QVERIFY(IsSameFormat(a, a));
}

void TestJoinCommand::outputCandidate()
{
    const QDateTime at(QDate(2026, 3, 1), QTime(10, 15, 0, 123));
    QCOMPARE(OutputFileCandidate(QStringLiteral("/v"), QStringLiteral("mp4"), at),
             QStringLiteral("/v/Join_file_101500123.mp4"));
    QCOMPARE(OutputFileCandidate(QStringLiteral("/v"), QStringLiteral("MKV"), at, 0),
             QStringLiteral("/v/Join_file_101500123(0).MKV"));
    const QDateTime evening(QDate(2026, 3, 1), QTime(21, 5, 9, 7));
    QCOMPARE(ClockText(evening), QStringLiteral("210509007"));
}

void TestJoinCommand::freeOutputPathNeverReusesAName()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A frozen clock makes every candidate collide until the counter helps.
    const QDateTime frozen(QDate(2026, 3, 1), QTime(10, 15, 0, 123));
    int clockReads = 0;
    const auto clock = [&] {
        ++clockReads;
        return frozen;
    };
    const QString suffix = QStringLiteral("mp4");

    const QString first = FreeOutputFilePath(dir.path(), suffix, clock);
    QCOMPARE(first, dir.filePath(QStringLiteral("Join_file_101500123.mp4")));
    QCOMPARE(clockReads, 1);

    QStringList taken;
    for (int i = 0; i < 4; ++i) {
        const QString path = FreeOutputFilePath(dir.path(), suffix, clock);
        QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
        QVERIFY(!taken.contains(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("user data");
        taken << path;
    }
    QCOMPARE(taken.at(1), dir.filePath(QStringLiteral("Join_file_101500123(0).mp4")));
    QCOMPARE(taken.at(3), dir.filePath(QStringLiteral("Join_file_101500123(2).mp4")));

    // The clock is read anew for every candidate: a moving clock frees the
    // plain name again.
    QDateTime moving = frozen;
    const QString next = FreeOutputFilePath(dir.path(), suffix, [&] {
        moving = moving.addMSecs(1);
        return moving;
    });
    QCOMPARE(next, dir.filePath(QStringLiteral("Join_file_101500124.mp4")));

    // A dangling link is not a free name: writing to it would create its target.
    const QDateTime linked(QDate(2026, 3, 1), QTime(11, 0, 0, 0));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere.mp4")),
                        OutputFileCandidate(dir.path(), suffix, linked)));
    QCOMPARE(FreeOutputFilePath(dir.path(), suffix, [&] { return linked; }),
             OutputFileCandidate(dir.path(), suffix, linked, 0));
}

QTEST_GUILESS_MAIN(TestJoinCommand)
#include "test_joincommand.moc"
