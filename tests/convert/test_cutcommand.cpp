#include "convert/cutcommand.h"
#include "convert/joincommand.h"
#include "testsupport/testmedia.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(MediaInfo)

namespace {

MediaInfo Format(const QString& suffix, const QString& video, const QString& audio)
{
    MediaInfo info;
    info.suffix = suffix;
    info.videoCodec = video;
    info.audioCodec = audio;
    return info;
}

} // namespace

class TestCutCommand : public QObject
{
    Q_OBJECT

private slots:
    void segmentNames();
    void segmentArguments_data();
    void segmentArguments();
    void totalTrimmedDuration();
    void realSegmentLastsTheRange();
    void realSegmentOfSecondTrack();
    void realJoinReadsQuotedNames();
};

void TestCutCommand::segmentNames()
{
    QCOMPARE(SegmentFileName(0, QStringLiteral("mp4")), QStringLiteral("segment_0.mp4"));
    QCOMPARE(SegmentFilePath(QStringLiteral("/tmp/w"), 12, QStringLiteral("MKV")),
             QStringLiteral("/tmp/w/segment_12.MKV"));
}

void TestCutCommand::segmentArguments_data()
{
    QTest::addColumn<MediaInfo>("format");
    QTest::addColumn<int>("track");
    QTest::addColumn<QStringList>("streamArgs"); // between the input and the segment path

    const QStringList h264Times{
        "-fflags", "+genpts", "-avoid_negative_ts", "make_zero", "-video_track_timescale", "15360"};

    QTest::newRow("video+audio h264")
        << Format("mp4", "h264", "aac") << 0
        << (QStringList{"-vcodec", "copy", "-acodec", "copy"} + h264Times);
    QTest::newRow("libx264 name") << Format("mp4", "libx264", "aac") << 0
                                  << (QStringList{"-vcodec", "copy", "-acodec", "copy"} +
                                      h264Times);
    QTest::newRow("case matters for h264")
        << Format("mp4", "H264", "aac") << 0 << QStringList{"-vcodec", "copy", "-acodec", "copy"};
    QTest::newRow("audio-only") << Format("mp3", "", "mp3") << 0
                                << QStringList{"-vn", "-acodec", "copy"};
    // Track 2 of an audio-only file: no video map, and mp3 needs its encoder.
    QTest::newRow("audio-only, track 2")
        << Format("mp3", "", "mp3") << 2
        << QStringList{"-vn", "-acodec", "libmp3lame", "-map", "0:a:2"};
    QTest::newRow("video-only h264")
        << Format("mp4", "h264", "") << 0 << (QStringList{"-vcodec", "copy", "-an"} + h264Times);
    QTest::newRow("video-only ignores track")
        << Format("mkv", "vp9", "") << 3 << QStringList{"-vcodec", "copy", "-an"};
    QTest::newRow("chosen track, aac")
        << Format("mp4", "h264", "aac") << 1
        << (QStringList{"-vcodec", "copy", "-acodec", "aac", "-map", "0:v:0", "-map", "0:a:1"} +
            h264Times);
    QTest::newRow("chosen track, vorbis")
        << Format("mkv", "vp8", "vorbis") << 1
        << QStringList{"-vcodec", "copy", "-acodec", "libvorbis", "-map", "0:v:0", "-map", "0:a:1"};
    QTest::newRow("chosen track, opus")
        << Format("webm", "vp9", "opus") << 4
        << QStringList{"-vcodec", "copy", "-acodec", "libopus", "-map", "0:v:0", "-map", "0:a:4"};
    QTest::newRow("negative track copies")
        << Format("avi", "mpeg4", "mp3") << -1 << QStringList{"-vcodec", "copy", "-acodec", "copy"};
}

void TestCutCommand::segmentArguments()
{
    QFETCH(MediaInfo, format);
    QFETCH(int, track);
    QFETCH(QStringList, streamArgs);

    ConvertItem item;
    item.filePath = QStringLiteral("/media/my clip's.") + format.suffix;
    item.cutStart = 0;
    item.cutEnd = 83'450'000;
    item.audioTrackIndex = track;

    const QStringList expected =
        QStringList{"-y", "-ss", "00:00:00.000", "-to", "00:01:23.450", "-i", item.filePath} +
        streamArgs + QStringList{"/w/segment_1.x"};
    QCOMPARE(SegmentArguments(item, format, QStringLiteral("/w/segment_1.x")), expected);
}

void TestCutCommand::totalTrimmedDuration()
{
    ConvertItem a;
    a.itemId = 3;
    a.cutStart = 1'000'000;
    a.cutEnd = 4'000'000;
    ConvertItem b;
    b.itemId = 5;
    b.cutStart = 2'000'000;
    b.cutEnd = 2'500'000;
    ConvertItem reversed;
    reversed.itemId = 7;
    reversed.cutStart = 9'000'000;
    reversed.cutEnd = 1'000'000;
    QCOMPARE(TotalTrimmedDuration({a, b, reversed}, 5), qint64(3'500'000));
    QCOMPARE(TotalTrimmedDuration({a, b}, 9), qint64(0));
    QCOMPARE(TotalTrimmedDuration({}, 0), qint64(0));
}

void TestCutCommand::realSegmentLastsTheRange()
{
    if (TestMedia::Ffmpeg().isEmpty() || TestMedia::Ffprobe().isEmpty())
        QSKIP("ffmpeg and ffprobe are needed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source clip.mp4"));
    QVERIFY(TestMedia::MakeClip(source, 10.0));

    ConvertItem item;
    item.filePath = source;
    item.mediaInfo = Format("mp4", "h264", "aac");
    item.cutStart = 2'000'000;
    item.cutEnd = 5'000'000;
    const QString segment = SegmentFilePath(dir.path(), 0, item.mediaInfo.suffix);

    QVERIFY(TestMedia::RunFfmpeg(SegmentArguments(item, item.mediaInfo, segment)));
    const double seconds = TestMedia::DurationSeconds(segment);
    QVERIFY2(qAbs(seconds - 3.0) <= 0.25, qPrintable(QString::number(seconds)));
}

// The decoder name "vorbis" is no usable encoder; the segment of the second
// track must still come out with one video and that one audio stream.
void TestCutCommand::realSegmentOfSecondTrack()
{
    if (TestMedia::Ffmpeg().isEmpty() || TestMedia::Ffprobe().isEmpty())
        QSKIP("ffmpeg and ffprobe are needed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("two tracks.mkv"));
    QVERIFY(TestMedia::MakeClip(source, 4.0, 160, 120, 25, true, 2));
    QCOMPARE(TestMedia::StreamTypes(source), (QStringList{"video", "audio", "audio"}));

    ConvertItem item;
    item.filePath = source;
    item.cutStart = 1'000'000;
    item.cutEnd = 3'000'000;
    item.audioTrackIndex = 1;
    const MediaInfo format = Format("mkv", "h264", "vorbis");
    const QString segment = SegmentFilePath(dir.path(), 0, format.suffix);
    QVERIFY(TestMedia::RunFfmpeg(SegmentArguments(item, format, segment)));
    QCOMPARE(TestMedia::StreamTypes(segment), (QStringList{"video", "audio"}));
}

// The list reader must read back the quoting of names holding a quote, a
// space and non-ASCII letters, and the join arguments must work as they are.
void TestCutCommand::realJoinReadsQuotedNames()
{
    if (TestMedia::Ffmpeg().isEmpty() || TestMedia::Ffprobe().isEmpty())
        QSKIP("ffmpeg and ffprobe are needed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source.mp4"));
    QVERIFY(TestMedia::MakeClip(source, 4.0));

    const MediaInfo format = Format("mp4", "h264", "aac");
    const QStringList names{QStringLiteral("it's a clip.mp4"), QStringLiteral("Grüße 'x'.mp4")};
    for (int i = 0; i < names.size(); ++i) {
        ConvertItem item;
        item.filePath = source;
        item.cutStart = 1'000'000;
        item.cutEnd = 3'000'000;
        QVERIFY(TestMedia::RunFfmpeg(SegmentArguments(item, format, dir.filePath(names.at(i)))));
    }
    QFile list(dir.filePath(QString::fromLatin1(JoinListFileName)));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(JoinListFileBytes(names));
    list.close();

    const QString output = dir.filePath(QStringLiteral("Join_file_1.mp4"));
    QProcess tool;
    tool.start(TestMedia::Ffmpeg(),
               QStringList{QStringLiteral("-nostdin"), QStringLiteral("-loglevel"),
                           QStringLiteral("error")} +
                   JoinArguments(list.fileName(), output));
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    const double seconds = TestMedia::DurationSeconds(output);
    QVERIFY2(qAbs(seconds - 4.0) <= 0.3, qPrintable(QString::number(seconds)));

    // A second run onto the same name must leave the first result alone.
    const qint64 size = QFileInfo(output).size();
    tool.start(TestMedia::Ffmpeg(),
               QStringList{QStringLiteral("-loglevel"), QStringLiteral("error")} +
                   JoinArguments(list.fileName(), output));
    QVERIFY(tool.waitForFinished(60000));
    QVERIFY(tool.exitCode() != 0);
    QCOMPARE(QFileInfo(output).size(), size);
}

QTEST_GUILESS_MAIN(TestCutCommand)
#include "test_cutcommand.moc"
