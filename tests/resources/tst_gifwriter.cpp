// The animation writer: files it writes must decode with the toolkit's own
// reader to exactly the pixels it was given, with the header fields in place.

#include "resources/generator/gifwriter.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTest>

#include <functional>

namespace {

enum class Pattern
{
    Noise,    // every pixel independent: no long strings, fills the table fast
    Runs,     // long runs of one colour: long strings, few codes
    Gradient, // repeating ramps
};

Gif::Animation makeAnimation(int width, int height, int colours, int frames, Pattern pattern,
                             quint32 seed, int transparentIndex)
{
    QRandomGenerator random(seed);
    Gif::Animation a;
    a.width = width;
    a.height = height;
    a.transparentIndex = transparentIndex;
    a.delayCs = 4 + static_cast<int>(seed % 7);
    for (int i = 0; i < colours; ++i)
        a.palette.append(qRgb(random.bounded(256), random.bounded(256), (i * 37) % 256));
    for (int f = 0; f < frames; ++f) {
        QByteArray indices(qsizetype(width) * height, '\0');
        int current = 0;
        for (qsizetype i = 0; i < indices.size(); ++i) {
            if (pattern == Pattern::Noise || (pattern == Pattern::Runs && random.bounded(40) == 0))
                current = random.bounded(colours);
            else if (pattern == Pattern::Gradient)
                current = int((i + f * 3) % colours);
            indices[i] = char(current);
        }
        a.frames.append(indices);
    }
    return a;
}

// Reads every frame back with the toolkit's reader and compares each pixel.
void checkDecodesTo(const QByteArray& data, const Gif::Animation& a)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, "gif");
    for (int f = 0; f < a.frames.size(); ++f) {
        QVERIFY2(reader.canRead(), qPrintable(QStringLiteral("frame %1 missing").arg(f)));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(reader.nextImageDelay(), a.delayCs * 10);
        QCOMPARE(image.size(), QSize(a.width, a.height));
        for (int y = 0; y < a.height; ++y) {
            for (int x = 0; x < a.width; ++x) {
                const int index = static_cast<unsigned char>(a.frames.at(f).at(y * a.width + x));
                const QRgb got = image.pixel(x, y);
                const bool ok = index == a.transparentIndex
                                    ? qAlpha(got) == 0
                                    : got == (a.palette.at(index) | 0xff000000u);
                if (!ok)
                    QFAIL(qPrintable(QStringLiteral("frame %1 pixel (%2, %3): index %4, got %5")
                                         .arg(f)
                                         .arg(x)
                                         .arg(y)
                                         .arg(index)
                                         .arg(got, 8, 16, QLatin1Char('0'))));
            }
        }
    }
    QVERIFY(!reader.canRead());
}

int le16(const QByteArray& data, int at)
{
    return static_cast<unsigned char>(data.at(at)) | static_cast<unsigned char>(data.at(at + 1))
                                                         << 8;
}

} // namespace

Q_DECLARE_METATYPE(Pattern)

class TestGifWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void everyStreamLengthDecodes();
    void loopCountIsWritten_data();
    void loopCountIsWritten();
    void rejectsInconsistentInput();
    void fromImagesKeepsFewColoursExactly();
    void fromImagesReducesManyColours();
};

void TestGifWriter::initTestCase()
{
    QVERIFY2(QImageReader::supportedImageFormats().contains("gif"),
             "the toolkit's GIF reader is not installed");
}

void TestGifWriter::roundTrip_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("frames");
    QTest::addColumn<Pattern>("pattern");
    QTest::addColumn<int>("transparent");

    QTest::newRow("one pixel, one colour") << 1 << 1 << 1 << 2 << Pattern::Noise << -1;
    QTest::newRow("three colours, odd table") << 16 << 16 << 3 << 2 << Pattern::Runs << 2;
    QTest::newRow("spinner sized") << 20 << 20 << 17 << 12 << Pattern::Gradient << 0;
    QTest::newRow("noise, table fills and restarts") << 97 << 61 << 256 << 3 << Pattern::Noise << 5;
    QTest::newRow("noise, few colours, long table") << 300 << 200 << 4 << 2 << Pattern::Noise << -1;
    QTest::newRow("long runs") << 320 << 240 << 64 << 2 << Pattern::Runs << 0;
}

void TestGifWriter::roundTrip()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, colours);
    QFETCH(int, frames);
    QFETCH(Pattern, pattern);
    QFETCH(int, transparent);

    const quint32 seed = static_cast<quint32>(width * 7919 + height * 31 + colours);
    const Gif::Animation a =
        makeAnimation(width, height, colours, frames, pattern, seed, transparent);
    QString error;
    const QByteArray data = Gif::encode(a, &error);
    QVERIFY2(!data.isEmpty(), qPrintable(error));

    // Header and logical screen, global table big enough, trailer at the end.
    QVERIFY(data.startsWith("GIF89a"));
    QCOMPARE(le16(data, 6), width);
    QCOMPARE(le16(data, 8), height);
    const int flags = static_cast<unsigned char>(data.at(10));
    QVERIFY(flags & 0x80);
    QVERIFY((2 << (flags & 7)) >= colours);
    QCOMPARE(data.back(), ';');
    // Pixels as the toolkit sees them: with transparency, a frame that left
    // the previous one in place would show it through.
    checkDecodesTo(data, a);
}

void TestGifWriter::everyStreamLengthDecodes()
{
    // The code width grows after set numbers of codes; walking through every
    // length of a noisy row crosses each of those points.
    Gif::Animation a = makeAnimation(1, 1, 4, 1, Pattern::Noise, 3, -1);
    QRandomGenerator random(42);
    QByteArray indices;
    for (int length = 1; length <= 600; ++length) {
        indices.append(char(random.bounded(4)));
        a.width = length;
        a.frames = {indices};
        const QByteArray data = Gif::encode(a);
        QVERIFY2(!data.isEmpty(), qPrintable(QString::number(length)));
        checkDecodesTo(data, a);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("length %1").arg(length)));
    }
}

void TestGifWriter::loopCountIsWritten_data()
{
    QTest::addColumn<int>("loops");
    QTest::newRow("for ever") << 0;
    QTest::newRow("three times") << 3;
}

void TestGifWriter::loopCountIsWritten()
{
    QFETCH(int, loops);
    Gif::Animation a = makeAnimation(4, 4, 2, 2, Pattern::Noise, 1, -1);
    a.loopCount = loops;
    const QByteArray data = Gif::encode(a);
    QVERIFY(data.contains("NETSCAPE2.0"));
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, "gif");
    QCOMPARE(reader.loopCount(), loops == 0 ? -1 : loops);
}

void TestGifWriter::rejectsInconsistentInput()
{
    const std::pair<const char*, std::function<void(Gif::Animation&)>> faults[] = {
        {"no frames", [](Gif::Animation& a) { a.frames.clear(); }},
        {"frame too short", [](Gif::Animation& a) { a.frames[1].chop(1); }},
        {"index outside palette", [](Gif::Animation& a) { a.frames[0][5] = 4; }},
        {"empty palette", [](Gif::Animation& a) { a.palette.clear(); }},
        {"palette too large", [](Gif::Animation& a) { a.palette.resize(257); }},
        {"transparent index outside", [](Gif::Animation& a) { a.transparentIndex = 4; }},
        {"zero width", [](Gif::Animation& a) { a.width = 0; }},
    };
    const Gif::Animation good = makeAnimation(8, 8, 4, 2, Pattern::Noise, 9, 0);
    QVERIFY(!Gif::encode(good).isEmpty());
    for (const auto& [name, spoil] : faults) {
        Gif::Animation a = good;
        spoil(a);
        QString error;
        QVERIFY2(Gif::encode(a, &error).isEmpty(), name);
        QVERIFY2(!error.isEmpty(), name);
    }
}

void TestGifWriter::fromImagesKeepsFewColoursExactly()
{
    // Opaque colours survive exactly; clear pixels become the transparent
    // index; half-covered pixels are mixed with the matte.
    const QRgb matte = qRgb(0x10, 0x20, 0x30);
    QImage first(6, 4, QImage::Format_ARGB32);
    first.fill(Qt::transparent);
    first.setPixel(0, 0, qRgb(255, 0, 0));
    first.setPixel(1, 0, qRgb(0, 0, 0));
    first.setPixel(2, 0, qRgba(200, 100, 50, 60)); // mostly clear: dropped
    first.setPixel(3, 0, qRgba(255, 255, 255, 200));
    QImage second = first;
    second.setPixel(5, 3, qRgb(0, 255, 0));

    const Gif::Animation a = Gif::fromImages({first, second}, matte, 6);
    QCOMPARE(a.width, 6);
    QCOMPARE(a.height, 4);
    QCOMPARE(a.delayCs, 6);
    QCOMPARE(a.frames.size(), 2);
    QVERIFY(a.transparentIndex >= 0);
    const auto colourAt = [&a](int frame, int x, int y) {
        const int index = static_cast<unsigned char>(a.frames.at(frame).at(y * a.width + x));
        return index == a.transparentIndex ? QRgb(0) : a.palette.at(index) | 0xff000000u;
    };
    QCOMPARE(colourAt(0, 0, 0), qRgb(255, 0, 0));
    QCOMPARE(colourAt(0, 1, 0), qRgb(0, 0, 0));
    QCOMPARE(colourAt(0, 2, 0), QRgb(0));
    const auto mix = [](int c, int m) { return (c * 200 + m * 55 + 127) / 255; };
    QCOMPARE(colourAt(0, 3, 0), qRgb(mix(255, 0x10), mix(255, 0x20), mix(255, 0x30)));
    QCOMPARE(colourAt(0, 5, 3), QRgb(0));
    QCOMPARE(colourAt(1, 5, 3), qRgb(0, 255, 0));
}

void TestGifWriter::fromImagesReducesManyColours()
{
    // 4096 different colours must still fit one table, each pixel close to
    // what was asked for: the buckets are 32 wide here, and no channel may
    // move by a whole bucket.
    QImage image(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 4, (x ^ y) * 4));
    }
    const Gif::Animation a = Gif::fromImages({image}, qRgb(0, 0, 0), 5);
    QVERIFY(a.palette.size() <= 256);
    const QImage decoded = QImage::fromData(Gif::encode(a), "gif");
    QVERIFY(!decoded.isNull());
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb want = image.pixel(x, y);
            const QRgb got = decoded.pixel(x, y);
            QVERIFY(qAlpha(got) == 255 && std::abs(qRed(want) - qRed(got)) < 32 &&
                    std::abs(qGreen(want) - qGreen(got)) < 32 &&
                    std::abs(qBlue(want) - qBlue(got)) < 32);
        }
    }
}

QTEST_GUILESS_MAIN(TestGifWriter)
#include "tst_gifwriter.moc"
