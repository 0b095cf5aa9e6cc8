#include "convert/convertparams.h"
#include "convert/outputprofile.h"

#include <QTest>
#include <QtEndian>

namespace {

qint32 IntAt(const QByteArray& block, int offset)
{
    return qFromLittleEndian<qint32>(block.constData() + offset);
}

QByteArray TextAt(const QByteArray& block, int offset, int field)
{
    const QByteArray bytes = block.mid(offset, field);
    const qsizetype end = bytes.indexOf('\0');
    return end < 0 ? QByteArray() : bytes.left(end); // unterminated reads as broken
}

// A row as the probe fills it: "suffix video WxH rate" and "audio rate layout",
// either half may be empty.
MediaInfo Row(const char* suffix, const char* video, const char* rate, const char* audio,
              const char* sampleRate = "48000 Hz", const char* layout = "stereo")
{
    MediaInfo info;
    info.suffix = QString::fromLatin1(suffix);
    info.videoCodec = QString::fromLatin1(video);
    if (!info.videoCodec.isEmpty()) {
        info.width = 1280;
        info.height = 720;
        info.frameRateText = QString::fromLatin1(rate);
        info.videoBitRateText = QStringLiteral("3000 kb/s");
    }
    info.audioCodec = QString::fromLatin1(audio);
    if (!info.audioCodec.isEmpty()) {
        info.sampleRateText = QString::fromLatin1(sampleRate);
        info.channelsText = QString::fromLatin1(layout);
        info.audioBitRateText = QStringLiteral(" 96 kb/s ");
    }
    return info;
}

} // namespace

Q_DECLARE_METATYPE(MediaInfo)

class TestConvertParams : public QObject
{
    Q_OBJECT

private slots:
    // What the Profile line promises is what the engine is asked to write.
    void profile_data()
    {
        QTest::addColumn<MediaInfo>("format");
        QTest::addColumn<QList<MediaInfo>>("others");
        QTest::addColumn<QString>("videoText");
        QTest::addColumn<QString>("audioText");
        QTest::addColumn<QByteArray>("videoEncoder");
        QTest::addColumn<QByteArray>("audioEncoder");
        QTest::addColumn<int>("rateNum");
        QTest::addColumn<int>("rateDen");
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<int>("channels");

        const QList<MediaInfo> none;
        const auto row = [](const char* name, const MediaInfo& format,
                            const QList<MediaInfo>& others, const char* video, const char* audio,
                            const char* venc, const char* aenc, int num, int den, int rate,
                            int channels) {
            QTest::newRow(name) << format << others << QString(video) << QString(audio)
                                << QByteArray(venc) << QByteArray(aenc) << num << den << rate
                                << channels;
        };
        row("mp4 h264 mono aac", Row("mp4", "h264", "30fps", "aac", "44100 Hz", "mono"), none,
            "MP4 H264 1280x720 30fps", "AAC 44100 Hz mono", "libx264", "aac", 30, 1, 44100, 1);
        row("mov hevc ntsc", Row("MOV", "hevc", "29.97fps", "aac"), none,
            "MOV HEVC 1280x720 29.97fps", "AAC 48000 Hz stereo", "libx265", "aac", 30000, 1001,
            48000, 2);
        row("webm vp8 15 fps keeps its rate", Row("webm", "vp8", "15fps", "vorbis", "44100 Hz"),
            none, "WEBM VP8 1280x720 15fps", "VORBIS 44100 Hz stereo", "libvpx", "libvorbis", 15, 1,
            44100, 2);
        row("webm vp9 opus", Row("webm", "vp9", "50fps", "opus"), none, "WEBM VP9 1280x720 50fps",
            "OPUS 48000 Hz stereo", "libvpx-vp9", "libopus", 50, 1, 48000, 2);
        row("mkv av1 5.1", Row("mkv", "av1", "12.5fps", "ac3", "48000 Hz", "5.1"), none,
            "MKV AV1 1280x720 12.5fps", "AC3 48000 Hz 5.1", "libaom-av1", "ac3", 25, 2, 48000, 6);
        // No encoder writes VC-1: the Profile names what the result will hold.
        row("wmv vc1", Row("wmv", "vc1", "25fps", "wmav2"), none, "WMV WMV2 1280x720 25fps",
            "WMAV2 48000 Hz stereo", "wmv2", "wmav2", 25, 1, 48000, 2);
        row("audio only mp3", Row("mp3", "", "", "mp3", "44100 Hz"),
            {Row("mp4", "h264", "", "aac")}, "", "MP3 44100 Hz stereo", "", "libmp3lame", 0, 0,
            44100, 2);
        row("audio only m4a", Row("m4a", "", "", "aac", "44100 Hz", "mono"), none, "",
            "M4A AAC 44100 Hz mono", "", "aac", 0, 0, 44100, 1);
        // A silent reference row must not drop the sound of the others.
        const QList<MediaInfo> voiced{Row("mp4", "h264", "25fps", ""),
                                      Row("mp3", "", "", "mp3", "44100 Hz", "mono")};
        row("silent mp4 with a voiced row", Row("mp4", "h264", "25fps", ""), voiced,
            "MP4 H264 1280x720 25fps", "AAC 44100 Hz mono", "libx264", "aac", 25, 1, 44100, 1);
        row("silent webm with a voiced row", Row("webm", "vp9", "25fps", ""), voiced,
            "WEBM VP9 1280x720 25fps", "OPUS 48000 Hz mono", "libvpx-vp9", "libopus", 25, 1, 48000,
            1);
        row("silent ogv with a voiced row", Row("ogv", "theora", "25fps", ""), voiced,
            "OGV THEORA 1280x720 25fps", "VORBIS 44100 Hz mono", "libtheora", "libvorbis", 25, 1,
            44100, 1);
        row("all silent", Row("mp4", "h264", "25fps", ""), {Row("mkv", "h264", "25fps", "")},
            "MP4 H264 1280x720 25fps", "", "libx264", "", 25, 1, 0, 0);
    }
    void profile()
    {
        QFETCH(MediaInfo, format);
        QFETCH(QList<MediaInfo>, others);
        const OutputProfile profile = OutputProfileFor(format, QList<MediaInfo>{format} + others);
        QTEST(ProfileVideoText(profile), "videoText");
        QTEST(ProfileAudioText(profile), "audioText");

        const QString path = QStringLiteral("/home/me/Vidéos/Join_file_101500123.") + format.suffix;
        const QByteArray b = EngineParameterBlock(path, profile);
        QCOMPARE(b.size(), 2788);
        QCOMPARE(IntAt(b, 0), 2788);
        QCOMPARE(TextAt(b, 4, 1024), path.toUtf8());
        QCOMPARE(TextAt(b, 1028, 260), path.toUtf8());
        QTEST(TextAt(b, 1288, 128), "videoEncoder");
        QTEST(IntAt(b, 1432), "rateNum");
        QTEST(IntAt(b, 1428), "rateDen");
        QCOMPARE(IntAt(b, 1436), format.videoCodec.isEmpty() ? 0 : 1280);
        QCOMPARE(IntAt(b, 1452), format.videoCodec.isEmpty() ? 1 : 0);
        QTEST(TextAt(b, 1456, 128), "audioEncoder");
        QTEST(IntAt(b, 1724), "sampleRate");
        QTEST(IntAt(b, 1728), "channels");
        QCOMPARE(IntAt(b, 1732), 16);
    }
    void otherBytesStayZero()
    {
        const QString path = QStringLiteral("/o/x.mp4");
        const MediaInfo format = Row("mp4", "h264", "24fps", "aac");
        const QByteArray b = EngineParameterBlock(path, OutputProfileFor(format, {format}));
        QCOMPARE(b.size(), 2788);
        // Every byte outside the fields the engine reads is zero.
        const QList<QPair<int, int>> fields{{0, 4},    {4, 1024}, {1028, 260}, {1288, 128},
                                            {1420, 4}, {1428, 4}, {1432, 4},   {1436, 4},
                                            {1440, 4}, {1452, 4}, {1456, 128}, {1716, 4},
                                            {1724, 4}, {1728, 4}, {1732, 4}};
        for (int i = 0; i < b.size(); ++i) {
            bool inField = false;
            for (const auto& [offset, size] : fields)
                inField = inField || (i >= offset && i < offset + size);
            if (!inField)
                QVERIFY2(b.at(i) == 0, qPrintable(QString::number(i)));
        }
        QCOMPARE(IntAt(b, 1420), 3'000'000);
        QCOMPARE(IntAt(b, 1716), 96'000);
    }
    void frameRate_data()
    {
        QTest::addColumn<double>("fps");
        QTest::addColumn<int>("num");
        QTest::addColumn<int>("den");
        QTest::newRow("23.98") << 23.98 << 24000 << 1001;
        QTest::newRow("29.97") << 29.97 << 30000 << 1001;
        QTest::newRow("59.94") << 59.94 << 60000 << 1001;
        QTest::newRow("50 stays 50") << 50.0 << 50 << 1;
        QTest::newRow("15") << 15.0 << 15 << 1;
        QTest::newRow("12.5") << 12.5 << 25 << 2;
        QTest::newRow("not positive") << 0.0 << 25 << 1;
    }
    void frameRate()
    {
        QFETCH(double, fps);
        const FrameRateFraction rate = FrameRateOf(fps);
        QTEST(rate.numerator, "num");
        QTEST(rate.denominator, "den");
    }
    void longPathsAreRefused()
    {
        const MediaInfo format = Row("mp4", "h264", "25fps", "aac");
        const OutputProfile profile = OutputProfileFor(format, {format});
        // 259 bytes still fit the shorter field with its terminator.
        const QString fits = QStringLiteral("/") + QString(254, QLatin1Char('a')) + ".mp4";
        QCOMPARE(fits.toUtf8().size(), 259);
        QCOMPARE(TextAt(EngineParameterBlock(fits, profile), 1028, 260), fits.toUtf8());
        QVERIFY(EngineParameterBlock(fits + QLatin1Char('4'), profile).isEmpty());
        // Counted in UTF-8 bytes, not in letters.
        const QString wide = QStringLiteral("/") + QString(130, QChar(0x00e9)) + ".mp4";
        QVERIFY(EngineParameterBlock(wide, profile).isEmpty());
    }
    void audioEncoder_data()
    {
        QTest::addColumn<QString>("decoder");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("encoder");

        const auto row = [](const char* name, const char* decoder, const char* container,
                            const char* encoder) {
            QTest::newRow(name) << QString(decoder) << QString(container) << QString(encoder);
        };
        row("mp3", "mp3", "mp3", "libmp3lame");
        row("pcm kept", "pcm_s16le", "wav", "pcm_s16le");
        row("unknown in mp4", "qdm2", "mp4", "aac");
        row("unknown in ogg", "speex", "ogg", "libvorbis");
        row("a picture codec is no sound encoder", "h264", "mkv", "aac");
    }
    void audioEncoder()
    {
        QFETCH(QString, decoder);
        QFETCH(QString, container);
        QFETCH(QString, encoder);
        QCOMPARE(AudioEncoderFor(decoder, container), encoder);
    }
};

QTEST_GUILESS_MAIN(TestConvertParams)
#include "test_convertparams.moc"
