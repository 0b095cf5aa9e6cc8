#include "convert/convertparams.h"

#include <QTest>
#include <QtEndian>

namespace {

// Offsets and sizes as the engine reads them.
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

MediaInfo Item(const QString& suffix, const QString& frameRateText)
{
    MediaInfo info;
    info.suffix = suffix;
    info.videoCodec = QStringLiteral("h264");
    info.width = 1280;
    info.height = 720;
    info.frameRateText = frameRateText;
    info.videoBitRateText = QStringLiteral("3000 kb/s");
    info.audioCodec = QStringLiteral("aac");
    info.sampleRateText = QStringLiteral("48000 Hz");
    info.channelsText = QStringLiteral("mono");
    info.audioBitRateText = QStringLiteral(" 96 kb/s ");
    return info;
}

} // namespace

Q_DECLARE_METATYPE(MediaInfo)

class TestConvertParams : public QObject
{
    Q_OBJECT

private slots:
    void block_data()
    {
        QTest::addColumn<MediaInfo>("item");
        QTest::addColumn<QByteArray>("videoEncoder");
        QTest::addColumn<int>("videoBitRate");
        QTest::addColumn<int>("den");
        QTest::addColumn<int>("num");
        QTest::addColumn<QByteArray>("audioEncoder");
        QTest::addColumn<int>("audioBitRate");
        QTest::addColumn<int>("sampleRate");

        QTest::newRow("mp4 30fps") << Item("mp4", "30fps") << QByteArray("libx264") << 3'000'000
                                   << 1 << 30 << QByteArray("aac") << 96'000 << 48'000;
        // webm overrides every value of the item.
        QTest::newRow("webm") << Item("webm", "30fps") << QByteArray("libvpx") << 256'000 << 1 << 25
                              << QByteArray("libvorbis") << 128'000 << 22'050;
    }
    void block()
    {
        QFETCH(MediaInfo, item);
        QFETCH(QByteArray, videoEncoder);
        QFETCH(int, videoBitRate);
        QFETCH(int, den);
        QFETCH(int, num);
        QFETCH(QByteArray, audioEncoder);
        QFETCH(int, audioBitRate);
        QFETCH(int, sampleRate);

        const QString path = QStringLiteral("/home/me/Vidéos/Join_file_101500123.") + item.suffix;
        const QByteArray b = EngineParameterBlock(path, item);
        QCOMPARE(b.size(), 2788);
        QCOMPARE(IntAt(b, 0), 2788);
        QCOMPARE(TextAt(b, 4, 1024), path.toUtf8());
        QCOMPARE(TextAt(b, 1028, 260), path.toUtf8());
        QCOMPARE(TextAt(b, 1288, 128), videoEncoder);
        QCOMPARE(IntAt(b, 1420), videoBitRate);
        QCOMPARE(IntAt(b, 1428), den);
        QCOMPARE(IntAt(b, 1432), num);
        QCOMPARE(IntAt(b, 1436), 1280);
        QCOMPARE(IntAt(b, 1440), 720);
        QCOMPARE(IntAt(b, 1452), 0);
        QCOMPARE(TextAt(b, 1456, 128), audioEncoder);
        QCOMPARE(IntAt(b, 1716), audioBitRate);
        QCOMPARE(IntAt(b, 1724), sampleRate);
        QCOMPARE(IntAt(b, 1728), 2); // always stereo, whatever the item has
        QCOMPARE(IntAt(b, 1732), 16);
    }
    void otherBytesStayZero()
    {
        const QString path = QStringLiteral("/o/x.mp4");
        const QByteArray b = EngineParameterBlock(path, Item("mp4", "24fps"));
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
        // Text fields are padded with zeros after their terminator.
        QVERIFY(b.mid(4 + path.size(), 1024 - path.size()).count('\0') == 1024 - path.size());
    }
    void frameRate_data()
    {
        QTest::addColumn<QString>("rateText");
        QTest::addColumn<int>("den");
        QTest::addColumn<int>("num");

        QTest::newRow("23.98") << "23.98fps" << 1001 << 24000;
        QTest::newRow("29.97") << "29.97fps" << 1001 << 30000;
        QTest::newRow("50 falls back") << "50fps" << 1 << 24;
        QTest::newRow("empty means 25") << "" << 1 << 25;
    }
    void frameRate()
    {
        QFETCH(QString, rateText);
        QFETCH(int, den);
        QFETCH(int, num);
        const QByteArray b =
            EngineParameterBlock(QStringLiteral("/o/x.mkv"), Item("mkv", rateText));
        QCOMPARE(IntAt(b, 1428), den);
        QCOMPARE(IntAt(b, 1432), num);
    }
    void audioOnlyOutput()
    {
        MediaInfo item = Item("mp3", "");
        item.videoCodec.clear();
        item.audioCodec = QStringLiteral("mp3");
        const QByteArray b = EngineParameterBlock(QStringLiteral("/o/x.mp3"), item);
        QCOMPARE(IntAt(b, 1452), 1);
        // An MP3 file cannot carry AAC; its own codec's encoder is used.
        QCOMPARE(TextAt(b, 1456, 128), QByteArray("libmp3lame"));

        // A video-only item asks for no audio at all.
        MediaInfo silent = Item("mp4", "25fps");
        silent.audioCodec.clear();
        const QByteArray v = EngineParameterBlock(QStringLiteral("/o/x.mp4"), silent);
        QCOMPARE(IntAt(v, 1452), 0);
        QCOMPARE(TextAt(v, 1456, 128), QByteArray());
    }
    void longPathsAreRefused()
    {
        const MediaInfo item = Item("mp4", "25fps");
        // 259 bytes still fit the shorter field with its terminator.
        const QString fits = QStringLiteral("/") + QString(254, QLatin1Char('a')) + ".mp4";
        QCOMPARE(fits.toUtf8().size(), 259);
        QCOMPARE(TextAt(EngineParameterBlock(fits, item), 1028, 260), fits.toUtf8());
        QVERIFY(EngineParameterBlock(fits + QLatin1Char('4'), item).isEmpty());
        // Counted in UTF-8 bytes, not in letters.
        const QString wide = QStringLiteral("/") + QString(130, QChar(0x00e9)) + ".mp4";
        QVERIFY(EngineParameterBlock(wide, item).isEmpty());
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
        row("vorbis", "vorbis", "ogg", "libvorbis");
        row("opus", "opus", "webm", "libopus");
        row("pcm kept", "pcm_s16le", "wav", "pcm_s16le");
        row("unknown in mp4", "qdm2", "mp4", "aac");
        row("unknown in ogg", "speex", "ogg", "libvorbis");
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
