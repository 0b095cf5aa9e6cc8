#include "media/mediainfo.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

namespace {

// What the prober answers (-of json, the entries the probe asks for) for an
// MP4 with one H.264 stream and two AAC streams, trimmed of entries the
// report does not read.
const char* const kThreeStreamJson = R"JSON({
    "programs": [],
    "streams": [
        {"index": 0, "codec_name": "h264", "profile": "Constrained Baseline",
         "codec_type": "video", "width": 640, "height": 360,
         "sample_aspect_ratio": "1:1", "display_aspect_ratio": "16:9", "pix_fmt": "yuv420p",
         "r_frame_rate": "30000/1001", "avg_frame_rate": "30000/1001",
         "time_base": "1/30000", "bit_rate": "857123",
         "disposition": {"attached_pic": 0}, "tags": {"language": "und"}},
        {"index": 1, "codec_name": "aac", "profile": "LC", "codec_type": "audio",
         "sample_fmt": "fltp", "sample_rate": "44100", "channels": 1,
         "channel_layout": "mono", "bits_per_sample": 0, "r_frame_rate": "0/0",
         "avg_frame_rate": "0/0", "time_base": "1/44100", "bit_rate": "69000",
         "disposition": {"attached_pic": 0},
         "tags": {"language": "eng", "title": "Director: comments"}},
        {"index": 2, "codec_name": "aac", "profile": "LC", "codec_type": "audio",
         "sample_fmt": "fltp", "sample_rate": "48000", "channels": 6,
         "channel_layout": "5.1", "bits_per_sample": 0, "bit_rate": "172000",
         "disposition": {"attached_pic": 0}, "tags": {"language": "fra"}},
        {"index": 3, "codec_name": "mov_text", "codec_type": "subtitle"}
    ],
    "format": {"format_name": "mov,mp4,m4a,3gp,3g2,mj2", "start_time": "0.000000",
               "duration": "3.002000", "bit_rate": "1114000", "probe_score": 100}
})JSON";

const QString kInputVideoLine =
    QStringLiteral("Stream #0:0(und): Video: h264 (Constrained Baseline), yuv420p, 640x360 "
                   "[SAR 1:1 DAR 16:9], 857 kb/s, 29.97 fps, 29.97 tbr, 30k tbn");
const QString kFirstAudioLine =
    QStringLiteral("Stream #0:1(eng): Audio: aac (LC), 44100 Hz, mono, fltp, 69 kb/s");
const QString kSecondAudioLine =
    QStringLiteral("Stream #0:2(fra): Audio: aac (LC), 48000 Hz, 5.1, fltp, 172 kb/s");
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
    void reportFromJson();
    void reportFromJsonRules_data();
    void reportFromJsonRules();
    void hostileJsonStaysInBounds_data();
    void hostileJsonStaysInBounds();
    void mangledJsonNeverBreaksTheLines();
    void rateText_data();
    void rateText();
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

void TestMediaInfo::reportFromJson()
{
    const ProbeReport report = ProbeReportFromJson(QByteArray(kThreeStreamJson));

    // Lines in the media tool's own shape, built from the structured facts.
    QCOMPARE(report.durationLine, s("Duration: 00:00:03.00, start: 0.000000, bitrate: 1114 kb/s"));
    QCOMPARE(report.audioStreamLines, (QStringList{kFirstAudioLine, kSecondAudioLine}));
    QCOMPARE(report.videoStreamLines, (QStringList{kInputVideoLine}));
    QCOMPARE(report.formatName, s("mov,mp4,m4a,3gp,3g2,mj2"));
    QCOMPARE(report.probeScore, 100);
    QCOMPARE(report.otherStreams, 1);
    QVERIFY(!report.incompleteStreams);
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
    QCOMPARE(info.videoCodec, s("h264"));
    QCOMPARE(info.width, 640);
    QCOMPARE(info.height, 360);
    QCOMPARE(info.frameRateText, s("29.97fps"));
    QCOMPARE(info.videoBitRateText, s("857 kb/s"));

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
    QCOMPARE(info.audioBitRate, 172000);
}

void TestMediaInfo::reportFromJsonRules_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("durationLine");
    QTest::addColumn<QStringList>("videoLines");
    QTest::addColumn<QStringList>("audioLines");
    QTest::addColumn<bool>("usable");

    const QByteArray na = R"("format": {"format_name": "mp3"})";
    QTest::newRow("cover art stays a picture stream")
        << QByteArray(R"({"streams": [{"index": 0, "codec_type": "audio", "codec_name": "mp3",
              "sample_rate": "44100", "channels": 1, "channel_layout": "mono",
              "sample_fmt": "fltp", "bit_rate": "64000"},
             {"index": 1, "codec_type": "video", "codec_name": "mjpeg", "profile": "Baseline",
              "pix_fmt": "yuvj420p", "width": 64, "height": 48, "r_frame_rate": "90000/1",
              "avg_frame_rate": "0/0", "time_base": "1/90000",
              "disposition": {"attached_pic": 1}}],
             "format": {"format_name": "mp3", "duration": "3.030204", "start_time": "0.025056",
              "bit_rate": "69458"}})")
        << s("Duration: 00:00:03.03, start: 0.025056, bitrate: 69 kb/s")
        << QStringList{s("Stream #0:1: Video: mjpeg (Baseline), yuvj420p, 64x48, 90k tbr, 90k "
                         "tbn (attached pic)")}
        << QStringList{s("Stream #0:0: Audio: mp3, 44100 Hz, mono, fltp, 64 kb/s")} << true;
    // Fixed-size samples: the rate comes from them, as the media tool says.
    QTest::newRow("no duration, pcm rate, unnamed layout")
        << QByteArray(R"({"streams": [{"codec_type": "audio", "codec_name": "pcm_s16le",
              "sample_rate": "8000", "channels": 3, "sample_fmt": "s16",
              "bits_per_sample": 16}], )" +
                      na + "}")
        << s("Duration: N/A, bitrate: N/A") << QStringList()
        << QStringList{s("Stream #0:0: Audio: pcm_s16le, 8000 Hz, 3 channels, s16, 384 kb/s")}
        << true;
    QTest::newRow("no streams") << QByteArray("{" + na + "}") << s("Duration: N/A, bitrate: N/A")
                                << QStringList() << QStringList() << false;
    QTest::newRow("prober opened nothing")
        << QByteArray("{}") << QString() << QStringList() << QStringList() << false;
}

void TestMediaInfo::reportFromJsonRules()
{
    QFETCH(QByteArray, json);
    const ProbeReport report = ProbeReportFromJson(json);
    QTEST(report.durationLine, "durationLine");
    QTEST(report.videoStreamLines, "videoLines");
    QTEST(report.audioStreamLines, "audioLines");
    QTEST(IsUsableProbeReport(report), "usable");
}

void TestMediaInfo::hostileJsonStaysInBounds_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("durationLine");
    QTest::addColumn<QStringList>("videoLines");
    QTest::addColumn<QStringList>("audioLines");
    QTest::addColumn<QStringList>("titles");

    const QByteArray format = R"("format": {"format_name": "matroska,webm", "duration": "10"})";
    const QString tenSeconds = s("Duration: 00:00:10.00, bitrate: N/A");
    auto audio = [&format](const QByteArray& fields) {
        return QByteArray(R"({"streams": [{"codec_type": "audio", )") + fields + "}], " + format +
               "}";
    };
    // Only values of a known form reach a line; anything else is left out.
    QTest::newRow("forged codec, language and layout")
        << audio(R"("index": 0, "codec_name": "aac\n  Stream #0:9: Audio: mp3",
                    "tags": {"language": "en\nDuration: 00:00:01.00", "title": "a\n  b\u202e"},
                    "sample_rate": "48000, 96000 Hz", "channels": 2,
                    "channel_layout": "stereo, 99 kb/s", "sample_fmt": "s16\n")")
        << tenSeconds << QStringList() << QStringList{s("Stream #0:0: Audio: none, 2 channels")}
        << QStringList{s("a b")};
    QTest::newRow("wrong types") << QByteArray(
                                        R"({"streams": {"codec_type": "audio"}, "format": ["x"]})")
                                 << QString() << QStringList() << QStringList() << QStringList();
    QTest::newRow("numbers of the wrong type or size")
        << QByteArray(R"({"streams": [{"codec_type": "video", "index": "x", "codec_name": 5,
              "width": "1e400", "height": -1, "avg_frame_rate": "1/0", "r_frame_rate": "nan",
              "time_base": "99999999999/1", "bit_rate": "1e300"}],
              "format": {"duration": "nan", "start_time": "inf", "bit_rate": [1]}})")
        << s("Duration: N/A, bitrate: N/A") << QStringList{s("Stream #0:0: Video: none")}
        << QStringList() << QStringList();
    QTest::newRow("huge and negative durations")
        << QByteArray(R"({"streams": [], "format": {"duration": "-5", "start_time": 1e13}})")
        << s("Duration: N/A, bitrate: N/A") << QStringList() << QStringList() << QStringList();
    QTest::newRow("longest duration taken")
        << QByteArray(R"({"format": {"duration": 999999999999, "start_time": "-1.5"}})")
        << s("Duration: 277777777:46:39.00, start: -1.500000, bitrate: N/A") << QStringList()
        << QStringList() << QStringList();
    QTest::newRow("number out of range")
        << QByteArray(R"({"streams": [{"codec_type": "video", "width": 1e400}], )" + format + "}")
        << QString() << QStringList() << QStringList() << QStringList();
    QTest::newRow("truncated") << QByteArray(kThreeStreamJson).left(700) << QString()
                               << QStringList() << QStringList() << QStringList();
    QTest::newRow("not JSON") << QByteArray("Duration: 00:00:01.00\nStream #0:0: Audio: mp3\n")
                              << QString() << QStringList() << QStringList() << QStringList();
}

void TestMediaInfo::hostileJsonStaysInBounds()
{
    QFETCH(QByteArray, json);
    const ProbeReport report = ProbeReportFromJson(json);
    QTEST(report.durationLine, "durationLine");
    QTEST(report.videoStreamLines, "videoLines");
    QTEST(report.audioStreamLines, "audioLines");
    QTEST(report.audioStreamTitles, "titles");
    MediaInfo info;
    FillMediaInfo(info, s("/m/x.mkv"), report.durationLine, report.videoStreamLines,
                  report.audioStreamLines, report.audioStreamTitles);
    ComputeEncodingParameters(info);
    QVERIFY(info.duration >= 0);
}

void TestMediaInfo::mangledJsonNeverBreaksTheLines()
{
    // Damaged answers of every kind: cut short, bytes replaced, pieces
    // repeated. Whatever parses must still give lines of the known shape.
    static const QRegularExpression lineShape(
        QStringLiteral("\\AStream #0:\\d+(\\([a-z]{2,3}\\))?: (Video|Audio): [a-z0-9_]+"
                       "[^\\x00-\\x1f,]*(, [^\\x00-\\x1f,]+)*\\z"));
    const QByteArray good(kThreeStreamJson);
    const QByteArray noise("\"{}[],:0123456789.-e\\n /x\x01\xff");
    QRandomGenerator random(20240607);
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray json = good;
        const int edits = 1 + int(random.bounded(8));
        for (int e = 0; e < edits && !json.isEmpty(); ++e) {
            const int at = int(random.bounded(json.size()));
            switch (random.bounded(3)) {
            case 0:
                json[at] = noise.at(int(random.bounded(noise.size())));
                break;
            case 1:
                json.truncate(at);
                break;
            default:
                json.insert(at, json.mid(int(random.bounded(json.size())), 40));
            }
        }
        const ProbeReport report = ProbeReportFromJson(json);
        parsed += report.durationLine.isEmpty() ? 0 : 1;
        for (const QString& line : report.videoStreamLines + report.audioStreamLines)
            QVERIFY2(lineShape.match(line).hasMatch(), qPrintable(line));
        QVERIFY(!report.durationLine.contains(QLatin1Char('\n')));
        MediaInfo info;
        FillMediaInfo(info, s("/m/x.mp4"), report.durationLine, report.videoStreamLines,
                      report.audioStreamLines, report.audioStreamTitles);
        ComputeEncodingParameters(info);
        QVERIFY(info.duration >= 0);
    }
    // The rounds reached the builder, not only the JSON reader.
    QVERIFY2(parsed > 50, qPrintable(QString::number(parsed)));
}

void TestMediaInfo::rateText_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 25.0 << s("25");
    QTest::newRow("ntsc") << 30000.0 / 1001 << s("29.97");
    QTest::newRow("film") << 24000.0 / 1001 << s("23.98");
    QTest::newRow("thousands") << 90000.0 << s("90k");
    QTest::newRow("one thousand") << 1000.0 << s("1k");
    QTest::newRow("not whole thousands") << 1001.0 << s("1001");
    QTest::newRow("tiny") << 0.001 << s("0.0010");
    QTest::newRow("not a number") << std::nan("") << s("0.0000");
}

void TestMediaInfo::rateText()
{
    QFETCH(double, rate);
    QTEST(RateText(rate), "text");
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
