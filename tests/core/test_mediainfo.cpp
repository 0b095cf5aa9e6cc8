#include "media/mediainfo.h"

#include <QTest>

namespace {

// What ffmpeg 5.1 prints for the probe-and-thumbnail run on an MP4 with one
// H.264 stream and two AAC streams: the input section, the stream mapping,
// the thumbnail's output section (with a "Stream #... Video:" line of its
// own) and the error lines.
const char* const kThreeStreamReport =
    R"REPORT(ffmpeg version 5.1.9-0+deb12u1 Copyright (c) 2000-2026 the FFmpeg developers
  libavformat    59. 27.100 / 59. 27.100
Input #0, mov,mp4,m4a,3gp,3g2,mj2, from '/home/ann/Videos/holiday clip.mp4':
  Metadata:
    major_brand     : isom
  Duration: 00:00:03.00, start: 0.000000, bitrate: 1114 kb/s
  Stream #0:0[0x1](und): Video: h264 (Constrained Baseline) (avc1 / 0x31637661), yuv420p(progressive), 640x360 [SAR 1:1 DAR 16:9], 857 kb/s, 29.97 fps, 29.97 tbr, 30k tbn (default)
    Metadata:
      handler_name    : VideoHandler
  Stream #0:1[0x2](eng): Audio: aac (LC) (mp4a / 0x6134706D), 44100 Hz, mono, fltp, 69 kb/s (default)
    Metadata:
      handler_name    : SoundHandler
      title           : Director: comments
  Stream #0:2[0x3](fra): Audio: aac (LC) (mp4a / 0x6134706D), 48000 Hz, 5.1, fltp, 172 kb/s
Stream mapping:
  Stream #0:0 -> #0:0 (h264 (native) -> mjpeg (native))
Output #0, image2, to '/tmp/Tarnwick/Splicora/thumb/0b6a2c1bd1c1d0f3f0e1e6d3c4b5a697.jpg':
  Duration: 00:09:00.00
  Stream #0:0(und): Video: mjpeg, yuvj420p(pc, progressive), 640x360 [SAR 1:1 DAR 16:9], q=2-31, 200 kb/s, 29.97 fps, 29.97 tbn (default)
frame=    1 fps=0.0 q=4.1 size=N/A time=00:00:00.03 bitrate=N/A speed=9.52x    )REPORT"
    "\r"
    R"REPORT(av_interleaved_write_frame(): Invalid argument
Conversion failed!
)REPORT";

const QString kInputVideoLine = QStringLiteral(
    "Stream #0:0[0x1](und): Video: h264 (Constrained Baseline) (avc1 / 0x31637661), "
    "yuv420p(progressive), 640x360 [SAR 1:1 DAR 16:9], 857 kb/s, 29.97 fps, 29.97 tbr, 30k tbn "
    "(default)");
const QString kFirstAudioLine =
    QStringLiteral("Stream #0:1[0x2](eng): Audio: aac (LC) (mp4a / 0x6134706D), 44100 Hz, "
                   "mono, fltp, 69 kb/s (default)");
const QString kSecondAudioLine =
    QStringLiteral("Stream #0:2[0x3](fra): Audio: aac (LC) (mp4a / 0x6134706D), 48000 Hz, "
                   "5.1, fltp, 172 kb/s");
const QString kFullVideoLine = QStringLiteral(
    "Stream #0:0(und): Video: h264 (High), yuv420p(tv, bt709), 1920x1080 [SAR 1:1 DAR 16:9], "
    "5000 kb/s, 29.97 fps, 29.97 tbr, 30k tbn, 59.94 tbc (default)");
const QString kFullAudioLine =
    QStringLiteral("Stream #0:1(und): Audio: aac (LC), 44100 Hz, stereo, fltp, 128 kb/s (default)");

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

class TestMediaInfo : public QObject
{
    Q_OBJECT

private slots:
    void parseVideoLine_data();
    void parseVideoLine();
    void parseAudioLine_data();
    void parseAudioLine();
    void removeBracketed_data();
    void removeBracketed();
    void streamIdsOf_data();
    void streamIdsOf();
    void parseRealReport();
    void parseReportRules_data();
    void parseReportRules();
    void fillDurationAndSuffix_data();
    void fillDurationAndSuffix();
    void fillClearsEarlierRecord();
    void computeEncodingParameters_data();
    void computeEncodingParameters();
    void channelCountOf_data();
    void channelCountOf();
    void thumbnailName_data();
    void thumbnailName();
};

void TestMediaInfo::parseVideoLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("bitRateText");
    QTest::addColumn<QString>("frameRateText");

    auto row = [](const char* name, const QString& line, const char* codec, int w, int h,
                  const char* bitRate, const char* frameRate) {
        QTest::newRow(name) << line << s(codec) << w << h << s(bitRate) << s(frameRate);
    };
    row("full", kFullVideoLine, "h264", 1920, 1080, "5000 kb/s", "29.97fps");
    // Matroska reports no bit rate: the frame rate must still be found, and
    // the "tbr" piece must not be taken for it.
    row("no bit rate",
        s("Stream #0:0: Video: h264 (High), yuv420p(progressive), 1280x720, 23.98 fps, "
          "23.98 tbr, 1k tbn, 47.95 tbc"),
        "h264", 1280, 720, "", "23.98fps");
    row("no pixel format", s("Stream #0:0: Video: rawvideo, 320x240, 15 fps, 15 tbr"), "rawvideo",
        320, 240, "", "15fps");
    row("time bases only", s("Stream #0:0: Video: h264, yuv420p, 64x64, 25 tbr, 1k tbn"), "h264",
        64, 64, "", "");
    row("upper-case units are lowered",
        s("Stream #0:0: Video: vp9, yuv420p, 100x50, 12 KB/S, 30 FPS"), "vp9", 100, 50, "12 kb/s",
        "30fps");
    row("codec only", s("Stream #0:0: Video: mjpeg"), "mjpeg", 0, 0, "", "");
}

void TestMediaInfo::parseVideoLine()
{
    QFETCH(QString, line);
    // Facts of an earlier line must not survive.
    MediaInfo info;
    ParseVideoLine(info, kFullVideoLine);
    ParseVideoLine(info, line);
    QTEST(info.videoCodec, "codec");
    QTEST(info.width, "width");
    QTEST(info.height, "height");
    QTEST(info.videoBitRateText, "bitRateText");
    QTEST(info.frameRateText, "frameRateText");
}

void TestMediaInfo::parseAudioLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QString>("sampleRateText");
    QTest::addColumn<QString>("channelsText");
    QTest::addColumn<QString>("bitRateText");

    auto row = [](const char* name, const QString& line, const char* codec, const char* rate,
                  const char* channels, const char* bitRate) {
        QTest::newRow(name) << line << s(codec) << s(rate) << s(channels) << s(bitRate);
    };
    // The bit-rate text keeps the space before the number and the one left
    // behind by the removed "(default)".
    row("full", kFullAudioLine, "aac", "44100 Hz", "stereo", " 128 kb/s ");
    row("ffmpeg 5.1 at line end", kSecondAudioLine, "aac", "48000 Hz", "5.1", " 172 kb/s");
    row("bracketed layout removed",
        s("Stream #0:1: Audio: ac3, 48000 Hz, 5.1(side), fltp, 448 kb/s"), "ac3", "48000 Hz", "5.1",
        " 448 kb/s");
    row("no bit rate", s("Stream #0:1: Audio: flac, 96000 Hz, stereo, s32 (24 bit)"), "flac",
        "96000 Hz", "stereo", "");
    row("also names Video:",
        s("Stream #0:1: Audio: mp3 (Video: none), 44100 Hz, stereo, fltp, 128 kb/s"), "mp3",
        "44100 Hz", "stereo", " 128 kb/s");
}

void TestMediaInfo::parseAudioLine()
{
    QFETCH(QString, line);
    MediaInfo info;
    info.audioBitRateText = info.sampleRateText = info.channelsText = QStringLiteral("stale");
    ParseAudioLine(info, line);
    QTEST(info.audioCodec, "codec");
    QTEST(info.sampleRateText, "sampleRateText");
    QTEST(info.channelsText, "channelsText");
    QTEST(info.audioBitRateText, "bitRateText");
}

void TestMediaInfo::removeBracketed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("expected");

    auto row = [](const char* name, const char* text, const char* open, const char* close,
                  const char* expected) {
        QTest::newRow(name) << s(text) << s(open) << s(close) << s(expected);
    };
    row("nesting not recognised", "(a(b)c)", "(", ")", "c)");
    row("every occurrence, commas inside", "a (b, x) c (b) d", "(", ")", "a  c  d");
    row("unclosed runs to end", "aac (LC), 44100 Hz (broken", "(", ")", "aac , 44100 Hz ");
    row("close before open", "a)b(c)", "(", ")", "a)b");
    row("square brackets", "1920x1080 [SAR 1:1 DAR 16:9]", "[", "]", "1920x1080 ");
    // Equal marks once made the search start again at the same place forever.
    row("same mark both ends", "|a|b|c", "|", "|", "abc");
}

void TestMediaInfo::removeBracketed()
{
    QFETCH(QString, text);
    QFETCH(QString, open);
    QFETCH(QString, close);
    QTEST(RemoveBracketed(text, open, close), "expected");
}

void TestMediaInfo::streamIdsOf_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("none") << QStringList() << QStringList();
    QTest::newRow("unmatched line gets its place in the list")
        << QStringList{s("Stream #0:3[0x1c0]: Audio: mp2"), s("Audio: aac, 44100 Hz"),
                       s("Stream #1:12(eng): Audio: ac3")}
        << QStringList{"3", "1", "12"};
    QTest::newRow("unmatched first line, lower case")
        << QStringList{s("stream #0:4: Audio: aac")} << QStringList{"0"};
}

void TestMediaInfo::streamIdsOf()
{
    QFETCH(QStringList, lines);
    QTEST(StreamIdsOf(lines), "expected");
}

void TestMediaInfo::parseRealReport()
{
    const ProbeReport report = ParseProbeReport(QString::fromUtf8(kThreeStreamReport));

    // Only the input section counts: the thumbnail's own mjpeg stream and the
    // Duration line after "Output #" belong to what the tool writes.
    QCOMPARE(report.durationLine, s("Duration: 00:00:03.00, start: 0.000000, bitrate: 1114 kb/s"));
    QCOMPARE(report.audioStreamLines, (QStringList{kFirstAudioLine, kSecondAudioLine}));
    QCOMPARE(report.videoStreamLines, (QStringList{kInputVideoLine}));
    QVERIFY(IsUsableProbeReport(report));

    MediaInfo info;
    FillMediaInfo(info, s("/home/ann/Videos/holiday clip.mp4"), report.durationLine,
                  report.videoStreamLines, report.audioStreamLines);
    QCOMPARE(info.duration, qint64(3'000'000));
    QCOMPARE(info.suffix, s("mp4"));
    // Two audio streams give two ids; only the first one's facts are read.
    QCOMPARE(info.audioStreamIds, (QStringList{"1", "2"}));
    QCOMPARE(info.channelsText, s("mono"));
    QCOMPARE(info.videoStreamIds, (QStringList{"0"}));
    QCOMPARE(info.frameRateText, s("29.97fps"));

    // Tracks are told apart by language and title; the chosen one's facts
    // replace the first one's.
    QCOMPARE(AudioTrackDetail(info, 0), s("eng"));
    FillMediaInfo(info, s("/x.mp4"), report.durationLine, report.videoStreamLines,
                  report.audioStreamLines, report.audioStreamTitles);
    QCOMPARE(AudioTrackDetail(info, 0), s("eng, Director: comments"));
    QCOMPARE(AudioTrackDetail(info, 1), s("fra"));
    SelectAudioTrack(info, 1);
    QCOMPARE(info.sampleRateText, s("48000 Hz"));
    ComputeEncodingParameters(info);
    QCOMPARE(info.audioChannels, 6);
}

void TestMediaInfo::parseReportRules_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("durationLine");
    QTest::addColumn<QStringList>("videoLines");
    QTest::addColumn<QStringList>("audioLines");
    QTest::addColumn<bool>("usable");

    const QString duration = s("Duration: 00:00:05.00");
    const QStringList mp3{s("Stream #0:0: Audio: mp3")};
    QTest::newRow("nothing after Stream mapping counts")
        << s("  Duration: 00:00:05.00\n  Stream #0:0: Audio: mp3\nStream mapping:\n"
             "  Stream #0:0 -> #0:0 (mp3 (mp3float) -> aac (native))\n  Stream #0:0: Video: h\n")
        << duration << QStringList() << mp3 << true;
    QTest::newRow("nothing after Output # counts")
        << s("  Duration: 00:00:05.00\n  Stream #0:0: Audio: mp3\n"
             "Output #0, ipod, to 'x.m4a':\n  Stream #0:0: Audio: aac (LC), 44100 Hz\n")
        << duration << QStringList() << mp3 << true;
    QTest::newRow("later Duration ignored, CR trimmed")
        << s("  Duration: 00:00:05.00\r\n  Stream #0:0: Audio: mp3\r\n  Duration: 00:09:00.00\n")
        << duration << QStringList() << mp3 << true;
    // A stream line is never taken as the duration line (a title tag, say).
    QTest::newRow("stream line naming Duration")
        << s("  Stream #0:0: Video: h264 Duration: 1\n  Duration: N/A\n") << s("Duration: N/A")
        << QStringList{"Stream #0:0: Video: h264 Duration: 1"} << QStringList() << true;
    QTest::newRow("no streams") << s("Duration: 00:00:05.00\n") << duration << QStringList()
                                << QStringList() << false;
    QTest::newRow("no duration, case sensitive marks")
        << s("DURATION: 00:00:01.00\n  stream #0:0: Video: h264\n  Stream #0:0: Audio: mp3\n")
        << QString() << QStringList() << mp3 << false;
}

void TestMediaInfo::parseReportRules()
{
    QFETCH(QString, output);
    const ProbeReport report = ParseProbeReport(output);
    QTEST(report.durationLine, "durationLine");
    QTEST(report.videoStreamLines, "videoLines");
    QTEST(report.audioStreamLines, "audioLines");
    QTEST(IsUsableProbeReport(report), "usable");
}

void TestMediaInfo::fillDurationAndSuffix_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("durationLine");
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("hours, case kept, last dot")
        << s("/home/u/Clip.Final.MKV") << s("Duration: 01:00:00.50, start: 0.000000")
        << qint64(3'600'500'000) << s("MKV");
    QTest::newRow("N/A, dotted folder")
        << s("/home/u/my.videos/clip") << s("Duration: N/A") << qint64(0) << QString();
    QTest::newRow("unicode") << QStringLiteral("/home/u/\u6620\u753b.\u00e9mp4") << QString()
                             << qint64(0) << QStringLiteral("\u00e9mp4");
}

void TestMediaInfo::fillDurationAndSuffix()
{
    QFETCH(QString, path);
    QFETCH(QString, durationLine);
    MediaInfo info;
    FillMediaInfo(info, path, durationLine, {}, {s("Stream #0:0: Audio: mp3")});
    QTEST(info.duration, "duration");
    QTEST(info.suffix, "suffix");
}

void TestMediaInfo::fillClearsEarlierRecord()
{
    MediaInfo info;
    FillMediaInfo(info, s("/m/clip.mp4"), s("Duration: 00:00:09.00"), {kFullVideoLine},
                  {kFullAudioLine, kSecondAudioLine});
    ComputeEncodingParameters(info);
    QCOMPARE(info.frameRate, 29.97);

    FillMediaInfo(info, s("/m/voice.wav"), s("Duration: N/A"), {},
                  {s("Stream #0:0: Audio: pcm_s16le")});

    QVERIFY(info.videoStreamIds.isEmpty());
    QCOMPARE(info.audioStreamIds, QStringList{"0"});
    QCOMPARE(info.duration, qint64(0));
    QVERIFY(info.videoCodec.isEmpty());
    QCOMPARE(info.width, 0);
    QVERIFY(info.frameRateText.isEmpty());
    QVERIFY(info.sampleRateText.isEmpty());
    QCOMPARE(info.frameRate, 25.0);
}

void TestMediaInfo::computeEncodingParameters_data()
{
    QTest::addColumn<QString>("frameRateText");
    QTest::addColumn<QString>("videoBitRateText");
    QTest::addColumn<QString>("sampleRateText");
    QTest::addColumn<QString>("audioBitRateText");
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<int>("videoBitRate");
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<int>("audioBitRate");

    auto row = [](const char* name, const char* fr, const char* vbr, const char* sr,
                  const char* abr, double frameRate, int videoBitRate, int sampleRate,
                  int audioBitRate) {
        QTest::newRow(name) << s(fr) << s(vbr) << s(sr) << s(abr) << frameRate << videoBitRate
                            << sampleRate << audioBitRate;
    };
    row("all empty: defaults", "", "", "", "", 25.0, 25000, 44100, 128000);
    row("all read", "29.97fps", "5000 kb/s", "48000 Hz", " 192 kb/s ", 29.97, 5'000'000, 48000,
        192'000);
    row("not numbers keep defaults", "abcfps", "1k", "44.1 kHz", "n/a kb/s", 25.0, 25000, 44100,
        128000);
    row("nan frame rate", "nanfps", "", "", "", 25.0, 25000, 44100, 128000);
    row("inf frame rate", "inffps", "", "", "", 25.0, 25000, 44100, 128000);
    row("bit rate too large keeps default", "", "9999999 kb/s", "", " 2147484 kb/s", 25.0, 25000,
        44100, 128000);
    row("largest bit rate that fits", "", "2147483 kb/s", "", "", 25.0, 2'147'483'000, 44100,
        128000);
}

void TestMediaInfo::computeEncodingParameters()
{
    MediaInfo info;
    QFETCH(QString, frameRateText);
    QFETCH(QString, videoBitRateText);
    QFETCH(QString, sampleRateText);
    QFETCH(QString, audioBitRateText);
    info.frameRateText = frameRateText;
    info.videoBitRateText = videoBitRateText;
    info.sampleRateText = sampleRateText;
    info.audioBitRateText = audioBitRateText;
    // Values of an earlier run are replaced, never kept.
    info.frameRate = 1;
    info.videoBitRate = info.sampleRate = info.audioBitRate = 1;
    info.audioChannels = 6;

    ComputeEncodingParameters(info);

    QTEST(info.frameRate, "frameRate");
    QTEST(info.videoBitRate, "videoBitRate");
    QTEST(info.sampleRate, "sampleRate");
    QTEST(info.audioBitRate, "audioBitRate");
    // No layout text: stereo.
    QCOMPARE(info.audioChannels, 2);
}

void TestMediaInfo::channelCountOf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("mono") << s("mono") << 1;
    QTest::newRow("stereo") << s("stereo") << 2;
    QTest::newRow("5.1, brackets removed by the parser") << s("5.1") << 6;
    QTest::newRow("7.1(wide)") << s("7.1(wide)") << 8;
    QTest::newRow("unnamed layout") << s("3 channels") << 3;
    QTest::newRow("absurd count") << s("9999 channels") << 0;
    QTest::newRow("sample format by mistake") << s("fltp") << 0;
}

void TestMediaInfo::channelCountOf()
{
    QFETCH(QString, text);
    QTEST(ChannelCountOf(text), "count");
}

void TestMediaInfo::thumbnailName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    // Digests computed independently with md5sum over the UTF-8 bytes; the
    // first two differ only in case.
    QTest::newRow("C:/a.mp4") << s("C:/a.mp4") << s("4e478de97ed777cb3c628d80ba963378");
    QTest::newRow("c:/a.mp4") << s("c:/a.mp4") << s("54bf40b952e83193d1a7ec5c55154d7f");
    QTest::newRow("non-ASCII") << QStringLiteral("C:/Vid\u00e9os/\u00e9t\u00e9 \u65e5\u672c.mp4")
                               << s("4ff558f2d99fd6060d889804a0cff2de");
}

void TestMediaInfo::thumbnailName()
{
    QFETCH(QString, path);
    QTEST(ThumbnailName(path), "expected");
}

QTEST_GUILESS_MAIN(TestMediaInfo)
#include "test_mediainfo.moc"
