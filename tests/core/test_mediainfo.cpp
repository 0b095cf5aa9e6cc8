#include "media/mediainfo.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// What ffmpeg 5.1 prints for the probe-and-thumbnail run on an MP4 with one
// H.264 stream and two AAC streams: the input section, the stream mapping,
// the thumbnail's output section (which has a "Stream #... Video:" line of
// its own) and the progress and error lines.
const char* const kThreeStreamReport =
    R"REPORT(ffmpeg version 5.1.9-0+deb12u1 Copyright (c) 2000-2026 the FFmpeg developers
  built with gcc 12 (Debian 12.2.0-14+deb12u1)
  configuration: --prefix=/usr --extra-version=0+deb12u1 --toolchain=hardened --enable-gpl --enable-libx264 --enable-shared
  libavutil      57. 28.100 / 57. 28.100
  libavcodec     59. 37.100 / 59. 37.100
  libavformat    59. 27.100 / 59. 27.100
  libavdevice    59.  7.100 / 59.  7.100
  libavfilter     8. 44.100 /  8. 44.100
  libswscale      6.  7.100 /  6.  7.100
  libswresample   4.  7.100 /  4.  7.100
  libpostproc    56.  6.100 / 56.  6.100
Input #0, mov,mp4,m4a,3gp,3g2,mj2, from '/home/ann/Videos/holiday clip.mp4':
  Metadata:
    major_brand     : isom
    minor_version   : 512
    compatible_brands: isomiso2avc1mp41
    encoder         : Lavf59.27.100
  Duration: 00:00:03.00, start: 0.000000, bitrate: 1114 kb/s
  Stream #0:0[0x1](und): Video: h264 (Constrained Baseline) (avc1 / 0x31637661), yuv420p(progressive), 640x360 [SAR 1:1 DAR 16:9], 857 kb/s, 29.97 fps, 29.97 tbr, 30k tbn (default)
    Metadata:
      handler_name    : VideoHandler
      vendor_id       : [0][0][0][0]
      encoder         : Lavc59.37.100 libx264
  Stream #0:1[0x2](eng): Audio: aac (LC) (mp4a / 0x6134706D), 44100 Hz, mono, fltp, 69 kb/s (default)
    Metadata:
      handler_name    : SoundHandler
      vendor_id       : [0][0][0][0]
  Stream #0:2[0x3](fra): Audio: aac (LC) (mp4a / 0x6134706D), 48000 Hz, 5.1, fltp, 172 kb/s
    Metadata:
      handler_name    : SoundHandler
      vendor_id       : [0][0][0][0]
Stream mapping:
  Stream #0:0 -> #0:0 (h264 (native) -> mjpeg (native))
Press [q] to stop, [?] for help
[swscaler @ 0x561c88d4fd80] [swscaler @ 0x561c8904b040] deprecated pixel format used, make sure you did set range correctly
Output #0, image2, to '/tmp/Tarnwick/Splicora/thumb/0b6a2c1bd1c1d0f3f0e1e6d3c4b5a697.jpg':
  Metadata:
    major_brand     : isom
    minor_version   : 512
    compatible_brands: isomiso2avc1mp41
    encoder         : Lavf59.27.100
  Stream #0:0(und): Video: mjpeg, yuvj420p(pc, progressive), 640x360 [SAR 1:1 DAR 16:9], q=2-31, 200 kb/s, 29.97 fps, 29.97 tbn (default)
    Metadata:
      handler_name    : VideoHandler
      vendor_id       : [0][0][0][0]
      encoder         : Lavc59.37.100 mjpeg
    Side data:
      cpb: bitrate max/min/avg: 0/0/200000 buffer size: 0 vbv_delay: N/A
[image2 @ 0x561c88c99140] The specified filename does not contain an image sequence pattern or a pattern is invalid.
frame=    1 fps=0.0 q=4.1 size=N/A time=00:00:00.03 bitrate=N/A speed=9.52x    )REPORT"
    "\r"
    R"REPORT([image2 @ 0x561c88c99140] Cannot write more than one file with the same name.
av_interleaved_write_frame(): Invalid argument
frame=    2 fps=0.0 q=2.1 Lsize=N/A time=00:00:00.06 bitrate=N/A speed=2.95x    
video:39kB audio:0kB subtitle:0kB other streams:0kB global headers:0kB muxing overhead: unknown
Conversion failed!
)REPORT";

const QString kInputVideoLine = QStringLiteral(
    "Stream #0:0[0x1](und): Video: h264 (Constrained Baseline) (avc1 / 0x31637661), "
    "yuv420p(progressive), 640x360 [SAR 1:1 DAR 16:9], 857 kb/s, 29.97 fps, 29.97 tbr, 30k tbn "
    "(default)");
const QString kThumbnailVideoLine = QStringLiteral(
    "Stream #0:0(und): Video: mjpeg, yuvj420p(pc, progressive), 640x360 [SAR 1:1 DAR 16:9], "
    "q=2-31, 200 kb/s, 29.97 fps, 29.97 tbn (default)");
const QString kFirstAudioLine =
    QStringLiteral("Stream #0:1[0x2](eng): Audio: aac (LC) (mp4a / 0x6134706D), 44100 Hz, "
                   "mono, fltp, 69 kb/s (default)");
const QString kSecondAudioLine =
    QStringLiteral("Stream #0:2[0x3](fra): Audio: aac (LC) (mp4a / 0x6134706D), 48000 Hz, "
                   "5.1, fltp, 172 kb/s");

// The examples of a full and of a bit-rate-less video line, and a full audio
// line, as the media tool prints them.
const QString kFullVideoLine = QStringLiteral(
    "Stream #0:0(und): Video: h264 (High), yuv420p(tv, bt709), 1920x1080 [SAR 1:1 DAR 16:9], "
    "5000 kb/s, 29.97 fps, 29.97 tbr, 30k tbn, 59.94 tbc (default)");
const QString kNoBitRateVideoLine =
    QStringLiteral("Stream #0:0: Video: h264 (High), yuv420p(progressive), 1280x720, 23.98 fps, "
                   "23.98 tbr, 1k tbn, 47.95 tbc");
const QString kFullAudioLine =
    QStringLiteral("Stream #0:1(und): Audio: aac (LC), 44100 Hz, stereo, fltp, 128 kb/s (default)");

} // namespace

class TestMediaInfo : public QObject
{
    Q_OBJECT

private slots:
    void parseVideoLine_data();
    void parseVideoLine();
    void parseVideoLineClearsEarlierFacts();
    void parseAudioLine_data();
    void parseAudioLine();
    void removeBracketed_data();
    void removeBracketed();
    void streamIdsOf_data();
    void streamIdsOf();
    void durationTextOf_data();
    void durationTextOf();
    void parseRealReport();
    void parseReportRules_data();
    void parseReportRules();
    void usableReport_data();
    void usableReport();
    void fillFromRealReport();
    void fillDuration_data();
    void fillDuration();
    void fillSuffix_data();
    void fillSuffix();
    void fillAudioOnlyAndVideoOnly();
    void fillClearsEarlierRecord();
    void computeEncodingParameters_data();
    void computeEncodingParameters();
    void computeEncodingParametersRecomputes();
    void thumbnailName_data();
    void thumbnailName();
    void thumbnailNameTellsCaseApart();
};

void TestMediaInfo::parseVideoLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("bitRateText");
    QTest::addColumn<QString>("frameRateText");

    QTest::newRow("full") << kFullVideoLine << "h264" << 1920 << 1080 << "5000 kb/s"
                          << "29.97fps";
    // Without a bit rate the frame rate sits in the bit-rate place and the
    // "tbr" piece in the frame-rate place: both texts stay empty.
    QTest::newRow("no bit rate") << kNoBitRateVideoLine << "h264" << 1280 << 720 << ""
                                 << "";
    QTest::newRow("ffmpeg 5.1 with codec tag")
        << kInputVideoLine << "h264" << 640 << 360 << "857 kb/s"
        << "29.97fps";
    QTest::newRow("whole-number frame rate")
        << "Stream #0:0: Video: mpeg4 (Simple Profile), yuv420p, 320x240 [SAR 1:1 DAR 4:3], "
           "400 kb/s, 25 fps, 25 tbr, 25 tbn"
        << "mpeg4" << 320 << 240 << "400 kb/s"
        << "25fps";
    QTest::newRow("upper-case units are lowered")
        << "Stream #0:0: Video: vp9, yuv420p, 100x50, 12 KB/S, 30 FPS"
        << "vp9" << 100 << 50 << "12 kb/s"
        << "30fps";
    QTest::newRow("codec only") << "Stream #0:0: Video: mjpeg"
                                << "mjpeg" << 0 << 0 << ""
                                << "";
    QTest::newRow("size not a number") << "Stream #0:0: Video: h264, yuv420p, axb, 5 kb/s"
                                       << "h264" << 0 << 0 << "5 kb/s"
                                       << "";
    QTest::newRow("height missing") << "Stream #0:0: Video: h264, yuv420p, 1920x"
                                    << "h264" << 1920 << 0 << ""
                                    << "";
    QTest::newRow("three size parts") << "Stream #0:0: Video: h264, yuv420p, 1x2x3"
                                      << "h264" << 0 << 0 << ""
                                      << "";
}

void TestMediaInfo::parseVideoLine()
{
    QFETCH(QString, line);
    MediaInfo info;
    ParseVideoLine(info, line);
    QTEST(info.videoCodec, "codec");
    QTEST(info.width, "width");
    QTEST(info.height, "height");
    QTEST(info.videoBitRateText, "bitRateText");
    QTEST(info.frameRateText, "frameRateText");
}

void TestMediaInfo::parseVideoLineClearsEarlierFacts()
{
    MediaInfo info;
    ParseVideoLine(info, kFullVideoLine);
    ParseVideoLine(info, QStringLiteral("Stream #0:0: Video: mjpeg"));
    QCOMPARE(info.videoCodec, QStringLiteral("mjpeg"));
    QCOMPARE(info.width, 0);
    QCOMPARE(info.height, 0);
    QVERIFY(info.videoBitRateText.isEmpty());
    QVERIFY(info.frameRateText.isEmpty());
}

void TestMediaInfo::parseAudioLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QString>("sampleRateText");
    QTest::addColumn<QString>("channelsText");
    QTest::addColumn<QString>("bitRateText");

    // The bit-rate text keeps the space before the number and the one left
    // behind by the removed "(default)".
    QTest::newRow("full") << kFullAudioLine << "aac"
                          << "44100 Hz"
                          << "stereo"
                          << " 128 kb/s ";
    QTest::newRow("ffmpeg 5.1 at line end") << kSecondAudioLine << "aac"
                                            << "48000 Hz"
                                            << "5.1"
                                            << " 172 kb/s";
    QTest::newRow("bracketed layout removed")
        << "Stream #0:1: Audio: ac3, 48000 Hz, 5.1(side), fltp, 448 kb/s"
        << "ac3"
        << "48000 Hz"
        << "5.1"
        << " 448 kb/s";
    QTest::newRow("pcm with tag")
        << "Stream #0:0: Audio: pcm_s16le ([1][0][0][0] / 0x0001), 44100 Hz, 2 channels, s16, "
           "1411 kb/s"
        << "pcm_s16le"
        << "44100 Hz"
        << "2 channels"
        << " 1411 kb/s";
    QTest::newRow("no bit rate") << "Stream #0:1: Audio: flac, 96000 Hz, stereo, s32 (24 bit)"
                                 << "flac"
                                 << "96000 Hz"
                                 << "stereo"
                                 << "";
    QTest::newRow("codec only") << "Stream #0:3[0x1c0]: Audio: mp2"
                                << "mp2"
                                << ""
                                << ""
                                << "";
    QTest::newRow("also names Video:")
        << "Stream #0:1: Audio: mp3 (Video: none), 44100 Hz, stereo, fltp, 128 kb/s"
        << "mp3"
        << "44100 Hz"
        << "stereo"
        << " 128 kb/s";
}

void TestMediaInfo::parseAudioLine()
{
    QFETCH(QString, line);
    MediaInfo info;
    info.audioBitRateText = QStringLiteral("stale");
    info.sampleRateText = QStringLiteral("stale");
    info.channelsText = QStringLiteral("stale");
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

    QTest::newRow("nesting not recognised") << "(a(b)c)"
                                            << "("
                                            << ")"
                                            << "c)";
    QTest::newRow("no brackets") << "h264, yuv420p"
                                 << "("
                                 << ")"
                                 << "h264, yuv420p";
    QTest::newRow("empty") << ""
                           << "("
                           << ")"
                           << "";
    QTest::newRow("commas inside go") << "yuv420p(tv, bt709), 1920x1080"
                                      << "("
                                      << ")"
                                      << "yuv420p, 1920x1080";
    QTest::newRow("every occurrence") << "a (b) c (b) d (e)"
                                      << "("
                                      << ")"
                                      << "a  c  d ";
    QTest::newRow("unclosed runs to end") << "aac (LC), 44100 Hz (broken"
                                          << "("
                                          << ")"
                                          << "aac , 44100 Hz ";
    QTest::newRow("close before open") << "a)b(c)"
                                       << "("
                                       << ")"
                                       << "a)b";
    QTest::newRow("empty pair") << "x () y"
                                << "("
                                << ")"
                                << "x  y";
    QTest::newRow("square brackets") << "1920x1080 [SAR 1:1 DAR 16:9]"
                                     << "["
                                     << "]"
                                     << "1920x1080 ";
    QTest::newRow("same mark both ends") << "|a|b|c"
                                         << "|"
                                         << "|"
                                         << "abc";
    QTest::newRow("empty open mark") << "a(b)"
                                     << ""
                                     << ")"
                                     << "a(b)";
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
    QTest::newRow("hex tag after number")
        << QStringList{QStringLiteral("Stream #0:3[0x1c0]: Audio: mp2")} << QStringList{"3"};
    QTest::newRow("unmatched line gets its index")
        << QStringList{kFirstAudioLine, QStringLiteral("Audio: aac, 44100 Hz"),
                       QStringLiteral("Stream #1:12(eng): Audio: ac3")}
        << QStringList{"1", "1", "12"};
    QTest::newRow("unmatched first line")
        << QStringList{QStringLiteral("garbage")} << QStringList{"0"};
    QTest::newRow("case matters") << QStringList{QStringLiteral("stream #0:4: Audio: aac")}
                                  << QStringList{"0"};
    QTest::newRow("two stream marks, first wins")
        << QStringList{QStringLiteral("Stream #0:5 Stream #0:6: Video: h264")} << QStringList{"5"};
}

void TestMediaInfo::streamIdsOf()
{
    QFETCH(QStringList, lines);
    QTEST(StreamIdsOf(lines), "expected");
}

void TestMediaInfo::durationTextOf_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("clock") << "Duration: 00:01:02.03, start: 0.000000, bitrate: 1205 kb/s"
                           << "00:01:02.03";
    QTest::newRow("N/A") << "Duration: N/A, start: 0.000000, bitrate: N/A"
                         << "N/A";
    QTest::newRow("no comma") << "Duration: 01:00:00.00"
                              << "01:00:00.00";
    QTest::newRow("empty") << ""
                           << "";
}

void TestMediaInfo::durationTextOf()
{
    QFETCH(QString, line);
    QTEST(DurationTextOf(line), "expected");
}

void TestMediaInfo::parseRealReport()
{
    const ProbeReport report = ParseProbeReport(QString::fromUtf8(kThreeStreamReport));

    QCOMPARE(report.durationLine,
             QStringLiteral("Duration: 00:00:03.00, start: 0.000000, bitrate: 1114 kb/s"));
    QCOMPARE(report.audioStreamLines, (QStringList{kFirstAudioLine, kSecondAudioLine}));
    // The thumbnail's output stream ("Stream #0:0(und): Video: mjpeg ...")
    // belongs to what the tool writes, not to the user's file.
    QCOMPARE(report.videoStreamLines, (QStringList{kInputVideoLine}));
    QVERIFY(!report.videoStreamLines.join(QLatin1Char('\n')).contains(kThumbnailVideoLine));
    QVERIFY(IsUsableProbeReport(report));
}

void TestMediaInfo::parseReportRules_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("durationLine");
    QTest::addColumn<QStringList>("videoLines");
    QTest::addColumn<QStringList>("audioLines");

    QTest::newRow("empty") << ""
                           << "" << QStringList() << QStringList();
    QTest::newRow("what the tool writes is not counted")
        << "  Duration: 00:00:05.00, start: 0.000000\n"
           "  Stream #0:0: Audio: mp3, 44100 Hz\n"
           "Stream mapping:\n"
           "  Stream #0:0 -> #0:0 (mp3 (mp3float) -> aac (native))\n"
           "Output #0, ipod, to 'x.m4a':\n"
           "  Stream #0:0: Audio: aac (LC), 44100 Hz\n"
        << "Duration: 00:00:05.00, start: 0.000000" << QStringList()
        << QStringList{"Stream #0:0: Audio: mp3, 44100 Hz"};
    QTest::newRow("later Duration ignored")
        << "  Duration: 00:00:05.00, start: 0.000000\n"
           "  Stream #0:0: Audio: mp3, 44100 Hz\n"
           "  Duration: 00:09:00.00, start: 0.000000\n"
        << "Duration: 00:00:05.00, start: 0.000000" << QStringList()
        << QStringList{"Stream #0:0: Audio: mp3, 44100 Hz"};
    QTest::newRow("both types count as audio")
        << "Duration: 00:00:01.00\n  Stream #0:1: Audio: aac (Video: x), 8000 Hz\n"
        << "Duration: 00:00:01.00" << QStringList()
        << QStringList{"Stream #0:1: Audio: aac (Video: x), 8000 Hz"};
    QTest::newRow("case sensitive marks")
        << "DURATION: 00:00:01.00\n  stream #0:0: Video: h264\n  Stream #0:0: video: h264\n"
        << "" << QStringList() << QStringList();
    QTest::newRow("carriage returns trimmed")
        << "Duration: 00:00:02.00, start: 0.0\r\n  Stream #0:0: Video: h264, yuv420p\r\n"
        << "Duration: 00:00:02.00, start: 0.0" << QStringList{"Stream #0:0: Video: h264, yuv420p"}
        << QStringList();
    // A stream line is never taken as the duration line, even when it says
    // "Duration:" (a title tag, for instance).
    QTest::newRow("stream line naming Duration")
        << "  Stream #0:0: Video: h264 Duration: 1\n  Duration: 00:00:04.00\n"
        << "Duration: 00:00:04.00" << QStringList{"Stream #0:0: Video: h264 Duration: 1"}
        << QStringList();
}

void TestMediaInfo::parseReportRules()
{
    QFETCH(QString, output);
    const ProbeReport report = ParseProbeReport(output);
    QTEST(report.durationLine, "durationLine");
    QTEST(report.videoStreamLines, "videoLines");
    QTEST(report.audioStreamLines, "audioLines");
}

void TestMediaInfo::usableReport_data()
{
    QTest::addColumn<QString>("durationLine");
    QTest::addColumn<QStringList>("videoLines");
    QTest::addColumn<QStringList>("audioLines");
    QTest::addColumn<bool>("usable");

    const QStringList video{kFullVideoLine};
    const QStringList audio{kFullAudioLine};
    QTest::newRow("both") << "Duration: 00:00:01.00" << video << audio << true;
    QTest::newRow("video only") << "Duration: 00:00:01.00" << video << QStringList() << true;
    QTest::newRow("audio only") << "Duration: 00:00:01.00" << QStringList() << audio << true;
    QTest::newRow("N/A duration") << "Duration: N/A" << video << QStringList() << true;
    QTest::newRow("no streams") << "Duration: 00:00:01.00" << QStringList() << QStringList()
                                << false;
    QTest::newRow("no duration") << "" << video << audio << false;
}

void TestMediaInfo::usableReport()
{
    QFETCH(QString, durationLine);
    QFETCH(QStringList, videoLines);
    QFETCH(QStringList, audioLines);
    ProbeReport report;
    report.durationLine = durationLine;
    report.videoStreamLines = videoLines;
    report.audioStreamLines = audioLines;
    QTEST(IsUsableProbeReport(report), "usable");
}

void TestMediaInfo::fillFromRealReport()
{
    const ProbeReport report = ParseProbeReport(QString::fromUtf8(kThreeStreamReport));
    MediaInfo info;
    FillMediaInfo(info, QStringLiteral("/home/ann/Videos/holiday clip.mp4"), report.durationLine,
                  report.videoStreamLines, report.audioStreamLines);

    QCOMPARE(info.duration, qint64(3'000'000));
    QCOMPARE(info.suffix, QStringLiteral("mp4"));
    QCOMPARE(info.videoStreamLines, report.videoStreamLines);
    QCOMPARE(info.audioStreamLines, report.audioStreamLines);
    // Two audio streams give two ids; only the first one's facts are read.
    QCOMPARE(info.audioStreamIds, (QStringList{"1", "2"}));
    QCOMPARE(info.audioCodec, QStringLiteral("aac"));
    QCOMPARE(info.sampleRateText, QStringLiteral("44100 Hz"));
    QCOMPARE(info.channelsText, QStringLiteral("mono"));
    QCOMPARE(info.audioBitRateText, QStringLiteral(" 69 kb/s "));
    QCOMPARE(info.videoStreamIds, (QStringList{"0"}));
    QCOMPARE(info.videoCodec, QStringLiteral("h264"));
    QCOMPARE(info.width, 640);
    QCOMPARE(info.height, 360);
    QCOMPARE(info.videoBitRateText, QStringLiteral("857 kb/s"));
    QCOMPARE(info.frameRateText, QStringLiteral("29.97fps"));
}

void TestMediaInfo::fillDuration_data()
{
    QTest::addColumn<QString>("durationLine");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("hundredths") << "Duration: 00:01:02.03, start: 0.000000, bitrate: 1205 kb/s"
                                << qint64(62'030'000);
    QTest::newRow("hours") << "Duration: 01:00:00.50, start: 0.000000" << qint64(3'600'500'000);
    QTest::newRow("N/A") << "Duration: N/A, start: 0.000000, bitrate: N/A" << qint64(0);
    QTest::newRow("empty") << "" << qint64(0);
}

void TestMediaInfo::fillDuration()
{
    QFETCH(QString, durationLine);
    MediaInfo info;
    FillMediaInfo(info, QStringLiteral("/a.mp3"), durationLine, {},
                  {QStringLiteral("Stream #0:0: Audio: mp3")});
    QTEST(info.duration, "expected");
}

void TestMediaInfo::fillSuffix_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("simple") << "C:/a.mp4"
                            << "mp4";
    QTest::newRow("case kept, last dot") << "/home/u/Clip.Final.MKV"
                                         << "MKV";
    QTest::newRow("dotted folder, no suffix") << "/home/u/my.videos/clip"
                                              << "";
    QTest::newRow("dotted folder") << "/home/u/my.videos/clip.ts"
                                   << "ts";
    QTest::newRow("unicode") << QStringLiteral("/home/u/\u6620\u753b.\u00e9mp4")
                             << QStringLiteral("\u00e9mp4");
}

void TestMediaInfo::fillSuffix()
{
    QFETCH(QString, path);
    MediaInfo info;
    FillMediaInfo(info, path, QString(), {}, {});
    QTEST(info.suffix, "suffix");
}

void TestMediaInfo::fillAudioOnlyAndVideoOnly()
{
    MediaInfo audioOnly;
    FillMediaInfo(audioOnly, QStringLiteral("/m/song.mp3"), QStringLiteral("Duration: 00:00:01.00"),
                  {}, {kFullAudioLine});
    QVERIFY(audioOnly.videoCodec.isEmpty());
    QCOMPARE(audioOnly.width, 0);
    QCOMPARE(audioOnly.height, 0);
    QVERIFY(audioOnly.videoStreamIds.isEmpty());
    QCOMPARE(audioOnly.audioCodec, QStringLiteral("aac"));

    MediaInfo videoOnly;
    FillMediaInfo(videoOnly, QStringLiteral("/m/clip.mkv"), QStringLiteral("Duration: 00:00:01.00"),
                  {kFullVideoLine}, {});
    QVERIFY(videoOnly.audioCodec.isEmpty());
    QVERIFY(videoOnly.sampleRateText.isEmpty());
    QVERIFY(videoOnly.channelsText.isEmpty());
    QVERIFY(videoOnly.audioBitRateText.isEmpty());
    QVERIFY(videoOnly.audioStreamIds.isEmpty());
    QCOMPARE(videoOnly.width, 1920);
}

void TestMediaInfo::fillClearsEarlierRecord()
{
    MediaInfo info;
    FillMediaInfo(info, QStringLiteral("/m/clip.mp4"),
                  QStringLiteral("Duration: 00:00:09.00, start: 0.000000"), {kFullVideoLine},
                  {kFullAudioLine, kSecondAudioLine});
    ComputeEncodingParameters(info);
    QCOMPARE(info.frameRate, 29.97);

    FillMediaInfo(info, QStringLiteral("/m/voice.wav"), QStringLiteral("Duration: N/A"), {},
                  {QStringLiteral("Stream #0:0: Audio: pcm_s16le")});

    QVERIFY(info.videoStreamLines.isEmpty());
    QVERIFY(info.videoStreamIds.isEmpty());
    QCOMPARE(info.audioStreamLines.size(), 1);
    QCOMPARE(info.audioStreamIds, QStringList{"0"});
    QCOMPARE(info.suffix, QStringLiteral("wav"));
    QCOMPARE(info.duration, qint64(0));
    QVERIFY(info.videoCodec.isEmpty());
    QCOMPARE(info.width, 0);
    QCOMPARE(info.height, 0);
    QVERIFY(info.frameRateText.isEmpty());
    QVERIFY(info.videoBitRateText.isEmpty());
    QCOMPARE(info.audioCodec, QStringLiteral("pcm_s16le"));
    QVERIFY(info.sampleRateText.isEmpty());
    QVERIFY(info.channelsText.isEmpty());
    QVERIFY(info.audioBitRateText.isEmpty());
    QCOMPARE(info.frameRate, 25.0);
    QCOMPARE(info.videoBitRate, 25000);
    QCOMPARE(info.audioChannels, 2);
    QCOMPARE(info.sampleRate, 44100);
    QCOMPARE(info.audioBitRate, 128000);
}

void TestMediaInfo::computeEncodingParameters_data()
{
    QTest::addColumn<QString>("frameRateText");
    QTest::addColumn<QString>("videoBitRateText");
    QTest::addColumn<QString>("sampleRateText");
    QTest::addColumn<QString>("channelsText");
    QTest::addColumn<QString>("audioBitRateText");
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<int>("videoBitRate");
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<int>("audioBitRate");

    QTest::newRow("all empty: defaults") << ""
                                         << ""
                                         << ""
                                         << ""
                                         << "" << 25.0 << 25000 << 44100 << 128000;
    QTest::newRow("all read") << "29.97fps"
                              << "5000 kb/s"
                              << "48000 Hz"
                              << "5.1"
                              << " 192 kb/s " << 29.97 << 5'000'000 << 48000 << 192'000;
    QTest::newRow("whole frame rate") << "25fps"
                                      << ""
                                      << ""
                                      << ""
                                      << "" << 25.0 << 25000 << 44100 << 128000;
    QTest::newRow("upper case units") << "30 FPS"
                                      << "800 KB/S"
                                      << "22050 HZ"
                                      << "mono"
                                      << "64 KB/S" << 30.0 << 800'000 << 22050 << 64'000;
    QTest::newRow("not numbers keep defaults") << "abcfps"
                                               << "1k"
                                               << "44.1 kHz"
                                               << "stereo"
                                               << "n/a kb/s" << 25.0 << 25000 << 44100 << 128000;
    QTest::newRow("frame rate not finite") << "nanfps"
                                           << ""
                                           << ""
                                           << ""
                                           << "" << 25.0 << 25000 << 44100 << 128000;
    QTest::newRow("bit rate too large keeps default")
        << ""
        << "9999999 kb/s"
        << ""
        << ""
        << " 2147484 kb/s" << 25.0 << 25000 << 44100 << 128000;
    QTest::newRow("largest bit rate that fits") << ""
                                                << "2147483 kb/s"
                                                << ""
                                                << ""
                                                << "" << 25.0 << 2'147'483'000 << 44100 << 128000;
}

void TestMediaInfo::computeEncodingParameters()
{
    MediaInfo info;
    QFETCH(QString, frameRateText);
    QFETCH(QString, videoBitRateText);
    QFETCH(QString, sampleRateText);
    QFETCH(QString, channelsText);
    QFETCH(QString, audioBitRateText);
    info.frameRateText = frameRateText;
    info.videoBitRateText = videoBitRateText;
    info.sampleRateText = sampleRateText;
    info.channelsText = channelsText;
    info.audioBitRateText = audioBitRateText;
    info.audioChannels = 6; // always 2, whatever the layout says

    ComputeEncodingParameters(info);

    QTEST(info.frameRate, "frameRate");
    QTEST(info.videoBitRate, "videoBitRate");
    QTEST(info.sampleRate, "sampleRate");
    QTEST(info.audioBitRate, "audioBitRate");
    QCOMPARE(info.audioChannels, 2);
}

void TestMediaInfo::computeEncodingParametersRecomputes()
{
    MediaInfo info;
    info.frameRateText = QStringLiteral("50fps");
    ComputeEncodingParameters(info);
    QCOMPARE(info.frameRate, 50.0);

    info.frameRateText.clear();
    info.videoBitRate = 1;
    info.sampleRate = 1;
    info.audioBitRate = 1;
    ComputeEncodingParameters(info);
    QCOMPARE(info.frameRate, 25.0);
    QCOMPARE(info.videoBitRate, 25000);
    QCOMPARE(info.sampleRate, 44100);
    QCOMPARE(info.audioBitRate, 128000);
}

void TestMediaInfo::thumbnailName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    // Digests computed independently with md5sum over the UTF-8 bytes.
    QTest::newRow("C:/a.mp4") << "C:/a.mp4"
                              << "4e478de97ed777cb3c628d80ba963378";
    QTest::newRow("c:/a.mp4") << "c:/a.mp4"
                              << "54bf40b952e83193d1a7ec5c55154d7f";
    QTest::newRow("non-ASCII") << QStringLiteral("C:/Vid\u00e9os/\u00e9t\u00e9 \u65e5\u672c.mp4")
                               << "4ff558f2d99fd6060d889804a0cff2de";
}

void TestMediaInfo::thumbnailName()
{
    QFETCH(QString, path);
    QTEST(ThumbnailName(path), "expected");
}

void TestMediaInfo::thumbnailNameTellsCaseApart()
{
    const QString upper = ThumbnailName(QStringLiteral("/Videos/Clip.MP4"));
    const QString lower = ThumbnailName(QStringLiteral("/videos/clip.mp4"));
    QVERIFY(upper != lower);
    QCOMPARE(upper, ThumbnailName(QStringLiteral("/Videos/Clip.MP4")));
    const QRegularExpression hex(QStringLiteral("^[0-9a-f]{32}$"));
    QVERIFY(hex.match(upper).hasMatch());
    QVERIFY(hex.match(lower).hasMatch());
}

QTEST_GUILESS_MAIN(TestMediaInfo)
#include "test_mediainfo.moc"
