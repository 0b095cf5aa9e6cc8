#include "convert/cutcommand.h"
#include "convert/joincommand.h"
#include "testsupport/testmedia.h"

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

ConvertItem Item(const QString& path, qint64 start, qint64 end, int track = 0, int id = 0)
{
    ConvertItem item;
    item.itemId = id;
    item.filePath = path;
    item.cutStart = start;
    item.cutEnd = end;
    item.audioTrackIndex = track;
    return item;
}

} // namespace

class TestCutCommand : public QObject
{
    Q_OBJECT

private slots:
    void segmentArguments_data()
    {
        QTest::addColumn<MediaInfo>("format");
        QTest::addColumn<int>("track");
        QTest::addColumn<QStringList>("streamArgs"); // between the input and the segment path

        const QStringList h264Times{
            "-fflags", "+genpts", "-avoid_negative_ts", "make_zero", "-video_track_timescale",
            "15360"};

        QTest::newRow("video+audio h264")
            << Format("mp4", "h264", "aac") << 0
            << (QStringList{"-vcodec", "copy", "-acodec", "copy"} + h264Times);
        QTest::newRow("case matters for h264") << Format("mp4", "H264", "aac") << 0
                                               << QStringList{"-vcodec", "copy", "-acodec", "copy"};
        QTest::newRow("audio-only")
            << Format("mp3", "", "mp3") << 0 << QStringList{"-vn", "-acodec", "copy"};
        // Track 2 of an audio-only file: no video map, and mp3 needs its encoder.
        QTest::newRow("audio-only, track 2")
            << Format("mp3", "", "mp3") << 2
            << QStringList{"-vn", "-acodec", "libmp3lame", "-map", "0:a:2"};
        QTest::newRow("video-only ignores track")
            << Format("mkv", "vp9", "") << 3 << QStringList{"-vcodec", "copy", "-an"};
        QTest::newRow("chosen track, aac")
            << Format("mp4", "h264", "aac") << 1
            << (QStringList{"-vcodec", "copy", "-acodec", "aac", "-map", "0:v:0", "-map", "0:a:1"} +
                h264Times);
        QTest::newRow("chosen track, vorbis")
            << Format("mkv", "vp8", "vorbis") << 1
            << QStringList{"-vcodec", "copy",  "-acodec", "libvorbis",
                           "-map",    "0:v:0", "-map",    "0:a:1"};
    }
    void segmentArguments()
    {
        QFETCH(MediaInfo, format);
        QFETCH(int, track);
        QFETCH(QStringList, streamArgs);

        const ConvertItem item =
            Item(QStringLiteral("/media/my clip's.") + format.suffix, 0, 83'450'000, track);
        const QStringList expected =
            QStringList{"-y", "-ss", "00:00:00.000", "-to", "00:01:23.450", "-i", item.filePath} +
            streamArgs + QStringList{"/w/segment_1.x"};
        QCOMPARE(SegmentArguments(item, format, QStringLiteral("/w/segment_1.x")), expected);
    }
    void totalTrimmedDuration()
    {
        const ConvertItem a = Item({}, 1'000'000, 4'000'000, 0, 3);
        const ConvertItem b = Item({}, 2'000'000, 2'500'000, 0, 5);
        const ConvertItem reversed = Item({}, 9'000'000, 1'000'000, 0, 7);
        QCOMPARE(TotalTrimmedDuration({a, b, reversed}, 5), qint64(3'500'000));
        QCOMPARE(TotalTrimmedDuration({a, b}, 9), qint64(0));
    }
    // The list reader must read back the quoting of names holding a quote, a
    // space and non-ASCII letters, and the join arguments must work as they are.
    void realJoinReadsQuotedNames()
    {
        if (TestMedia::Ffmpeg().isEmpty() || TestMedia::Ffprobe().isEmpty())
            QSKIP("ffmpeg and ffprobe are needed");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString source = dir.filePath(QStringLiteral("source.mp4"));
        QVERIFY(TestMedia::MakeClip(source, 4.0));

        const MediaInfo format = Format("mp4", "h264", "aac");
        const QStringList names{QStringLiteral("it's a clip.mp4"), QStringLiteral("Grüße 'x'.mp4")};
        for (const QString& name : names) {
            const ConvertItem item = Item(source, 1'000'000, 3'000'000);
            QVERIFY(TestMedia::RunFfmpeg(SegmentArguments(item, format, dir.filePath(name))));
        }
        QFile list(dir.filePath(QString::fromLatin1(JoinListFileName)));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(JoinListFileBytes(names));
        list.close();

        const QString output = dir.filePath(QStringLiteral("Join_file_1.mp4"));
        QProcess tool;
        tool.start(TestMedia::Ffmpeg(), QStringList{"-nostdin", "-loglevel", "error"} +
                                            JoinArguments(list.fileName(), output));
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        const double seconds = TestMedia::DurationSeconds(output);
        QVERIFY2(qAbs(seconds - 4.0) <= 0.3, qPrintable(QString::number(seconds)));
    }
};

QTEST_GUILESS_MAIN(TestCutCommand)
#include "test_cutcommand.moc"
