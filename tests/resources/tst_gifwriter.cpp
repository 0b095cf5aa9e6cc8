// The animation writer: files it writes must decode to exactly the pixels it
// was given, both with the toolkit's reader and with a strict decoder that
// also rejects sloppy stream structure the toolkit would tolerate.

#include "resources/generator/gifwriter.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTest>

#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Strict reference decoder.

class BitReader
{
public:
    explicit BitReader(const QByteArray& data) : m_data(data) {}

    bool read(int width, int* code)
    {
        if (m_pos + width > static_cast<qint64>(m_data.size()) * 8) {
            return false;
        }
        int value = 0;
        for (int i = 0; i < width; ++i, ++m_pos) {
            const int bit = (static_cast<unsigned char>(m_data.at(m_pos / 8)) >> (m_pos % 8)) & 1;
            value |= bit << i;
        }
        *code = value;
        return true;
    }

    qint64 bitPosition() const { return m_pos; }

    // After the end code only the padding of its last byte may follow, and
    // the padding must be zero.
    bool onlyZeroPaddingLeft() const
    {
        const qint64 usedBytes = (m_pos + 7) / 8;
        if (usedBytes != m_data.size()) {
            return false;
        }
        for (qint64 p = m_pos; p < usedBytes * 8; ++p) {
            if ((static_cast<unsigned char>(m_data.at(p / 8)) >> (p % 8)) & 1) {
                return false;
            }
        }
        return true;
    }

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

// Decodes one LZW stream the way GIF decoders do: codes widen when the next
// free code reaches the current width's limit, the table stops growing at
// 4096 entries. Fails on anything out of order.
bool strictLzwDecode(const QByteArray& stream, int minCodeSize, qsizetype pixels, QByteArray* out,
                     QString* error)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    std::vector<QByteArray> table;
    int width = 0;
    int next = 0;
    const auto reset = [&] {
        table.assign(clearCode + 2, QByteArray());
        for (int i = 0; i < clearCode; ++i) {
            table[i] = QByteArray(1, static_cast<char>(i));
        }
        width = minCodeSize + 1;
        next = endCode + 1;
    };
    reset();

    BitReader bits(stream);
    int code = 0;
    if (!bits.read(width, &code) || code != clearCode) {
        *error = QStringLiteral("the stream does not start with a clear code");
        return false;
    }
    int previous = -1;
    out->clear();
    for (;;) {
        if (!bits.read(width, &code)) {
            *error = QStringLiteral("the stream ends without an end code (at %1 of %2 pixels)")
                         .arg(out->size())
                         .arg(pixels);
            return false;
        }
        if (code == clearCode) {
            reset();
            previous = -1;
            continue;
        }
        if (code == endCode) {
            break;
        }
        QByteArray entry;
        if (previous < 0) {
            if (code >= clearCode) {
                *error = QStringLiteral("code %1 right after a clear code").arg(code);
                return false;
            }
            entry = table[code];
        } else {
            if (code < next) {
                entry = table[code];
            } else if (code == next && next < 4096) {
                entry = table[previous] + table[previous].at(0);
            } else {
                *error = QStringLiteral("code %1 beyond the table (next %2)").arg(code).arg(next);
                return false;
            }
            if (next < 4096) {
                table.push_back(table[previous] + entry.at(0));
                ++next;
                if (next == (1 << width) && width < 12) {
                    ++width;
                }
            }
        }
        out->append(entry);
        if (out->size() > pixels) {
            *error = QStringLiteral("more pixels than the frame holds");
            return false;
        }
        previous = code;
    }
    if (out->size() != pixels) {
        *error = QStringLiteral("%1 pixels, expected %2").arg(out->size()).arg(pixels);
        return false;
    }
    if (!bits.onlyZeroPaddingLeft()) {
        *error = QStringLiteral("data after the end code");
        return false;
    }
    return true;
}

struct ParsedGif
{
    int width = 0;
    int height = 0;
    QVector<QRgb> table;
    int loopCount = -1; // -1: no loop extension
    QList<int> delays;
    QList<int> transparent; // -1: none
    QList<int> disposal;
    QList<QByteArray> frames;
};

class Parser
{
public:
    explicit Parser(const QByteArray& data) : m_data(data) {}

    bool parse(ParsedGif* gif, QString* error)
    {
        if (!m_data.startsWith("GIF89a")) {
            return fail(error, QStringLiteral("not a GIF89a file"));
        }
        m_pos = 6;
        gif->width = word();
        gif->height = word();
        const int packed = byte();
        byte(); // background
        byte(); // aspect
        if (!(packed & 0x80)) {
            return fail(error, QStringLiteral("no global colour table"));
        }
        const int entries = 2 << (packed & 0x07);
        for (int i = 0; i < entries; ++i) {
            const int r = byte();
            const int g = byte();
            const int b = byte();
            gif->table.append(qRgb(r, g, b));
        }
        int pendingDelay = -1;
        int pendingTransparent = -1;
        int pendingDisposal = 0;
        while (ok()) {
            const int introducer = byte();
            if (introducer == 0x3b) {
                if (m_pos != m_data.size()) {
                    return fail(error, QStringLiteral("bytes after the trailer"));
                }
                return ok() || fail(error, QStringLiteral("truncated"));
            }
            if (introducer == 0x21) {
                const int label = byte();
                if (label == 0xff) {
                    if (byte() != 11 || m_data.mid(m_pos, 11) != "NETSCAPE2.0") {
                        return fail(error, QStringLiteral("unknown application extension"));
                    }
                    m_pos += 11;
                    if (byte() != 3 || byte() != 1) {
                        return fail(error, QStringLiteral("malformed loop extension"));
                    }
                    gif->loopCount = word();
                    if (byte() != 0) {
                        return fail(error, QStringLiteral("loop extension not terminated"));
                    }
                } else if (label == 0xf9) {
                    if (byte() != 4) {
                        return fail(error, QStringLiteral("malformed graphic control"));
                    }
                    const int flags = byte();
                    pendingDelay = word();
                    const int index = byte();
                    pendingTransparent = (flags & 1) ? index : -1;
                    pendingDisposal = (flags >> 2) & 7;
                    if (byte() != 0) {
                        return fail(error, QStringLiteral("graphic control not terminated"));
                    }
                } else {
                    return fail(error, QStringLiteral("unexpected extension %1").arg(label));
                }
                continue;
            }
            if (introducer != 0x2c) {
                return fail(error, QStringLiteral("unexpected block %1").arg(introducer));
            }
            if (pendingDelay < 0) {
                return fail(error, QStringLiteral("a frame without graphic control"));
            }
            const int left = word();
            const int top = word();
            const int w = word();
            const int h = word();
            const int flags = byte();
            if (left != 0 || top != 0 || w != gif->width || h != gif->height || flags != 0) {
                return fail(error, QStringLiteral("frame does not cover the picture plainly"));
            }
            const int minCodeSize = byte();
            QByteArray stream;
            for (int length = byte(); ok() && length > 0; length = byte()) {
                stream.append(m_data.mid(m_pos, length));
                m_pos += length;
            }
            if (!ok()) {
                return fail(error, QStringLiteral("truncated image data"));
            }
            QByteArray indices;
            QString lzwError;
            if (!strictLzwDecode(stream, minCodeSize, static_cast<qsizetype>(w) * h, &indices,
                                 &lzwError)) {
                return fail(error,
                            QStringLiteral("frame %1: %2").arg(gif->frames.size()).arg(lzwError));
            }
            gif->frames.append(indices);
            gif->delays.append(pendingDelay);
            gif->transparent.append(pendingTransparent);
            gif->disposal.append(pendingDisposal);
            pendingDelay = -1;
        }
        return fail(error, QStringLiteral("truncated before the trailer"));
    }

private:
    bool ok() const { return m_pos <= m_data.size(); }
    int byte()
    {
        const int value = m_pos < m_data.size() ? static_cast<unsigned char>(m_data.at(m_pos)) : 0;
        ++m_pos;
        return value;
    }
    int word()
    {
        const int low = byte();
        return low | (byte() << 8);
    }
    static bool fail(QString* error, const QString& message)
    {
        *error = message;
        return false;
    }

    QByteArray m_data;
    qsizetype m_pos = 0;
};

// ---------------------------------------------------------------------------
// Test pictures.

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
    for (int i = 0; i < colours; ++i) {
        a.palette.append(qRgb(static_cast<int>(random.bounded(256)),
                              static_cast<int>(random.bounded(256)), (i * 37) % 256));
    }
    for (int f = 0; f < frames; ++f) {
        QByteArray indices(static_cast<qsizetype>(width) * height, '\0');
        int current = 0;
        for (qsizetype i = 0; i < indices.size(); ++i) {
            switch (pattern) {
            case Pattern::Noise:
                current = static_cast<int>(random.bounded(colours));
                break;
            case Pattern::Runs:
                if (random.bounded(40) == 0) {
                    current = static_cast<int>(random.bounded(colours));
                }
                break;
            case Pattern::Gradient:
                current = static_cast<int>((i + f * 3) % colours);
                break;
            }
            indices[i] = static_cast<char>(current);
        }
        a.frames.append(indices);
    }
    return a;
}

QRgb expectedPixel(const Gif::Animation& a, int frame, int x, int y)
{
    const int index = static_cast<unsigned char>(a.frames.at(frame).at(y * a.width + x));
    if (index == a.transparentIndex) {
        return 0;
    }
    return a.palette.at(index) | 0xff000000u;
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
    void everyStreamLengthEndsCleanly_data();
    void everyStreamLengthEndsCleanly();
    void loopCountIsWritten_data();
    void loopCountIsWritten();
    void rejectsInconsistentInput_data();
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
    QTest::newRow("two colours") << 7 << 5 << 2 << 3 << Pattern::Noise << 0;
    QTest::newRow("three colours, odd table") << 16 << 16 << 3 << 2 << Pattern::Runs << 2;
    QTest::newRow("spinner sized") << 20 << 20 << 17 << 12 << Pattern::Gradient << 0;
    QTest::newRow("noise, table fills and restarts") << 97 << 61 << 256 << 3 << Pattern::Noise << 5;
    QTest::newRow("noise, few colours, long table") << 300 << 200 << 4 << 2 << Pattern::Noise << -1;
    QTest::newRow("long runs") << 320 << 240 << 64 << 2 << Pattern::Runs << 0;
    QTest::newRow("ramps, 128 colours") << 64 << 64 << 128 << 4 << Pattern::Gradient << 127;
    QTest::newRow("wide and short") << 1000 << 3 << 31 << 2 << Pattern::Noise << -1;
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

    // Structure and codes, strictly.
    ParsedGif parsed;
    QVERIFY2(Parser(data).parse(&parsed, &error), qPrintable(error));
    QCOMPARE(parsed.width, width);
    QCOMPARE(parsed.height, height);
    QVERIFY(parsed.table.size() >= colours);
    QVERIFY2((parsed.table.size() & (parsed.table.size() - 1)) == 0,
             "table size not a power of two");
    for (int i = 0; i < colours; ++i) {
        QCOMPARE(parsed.table.at(i), a.palette.at(i));
    }
    QCOMPARE(parsed.loopCount, 0);
    QCOMPARE(parsed.frames.size(), frames);
    for (int f = 0; f < frames; ++f) {
        QCOMPARE(parsed.frames.at(f), a.frames.at(f));
        QCOMPARE(parsed.delays.at(f), a.delayCs);
        QCOMPARE(parsed.transparent.at(f), transparent);
        // With transparency, the previous frame must not show through.
        if (transparent >= 0) {
            QCOMPARE(parsed.disposal.at(f), 2);
        }
    }

    // Pixels, as the program will see them.
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, "gif");
    QCOMPARE(reader.loopCount(), -1);
    for (int f = 0; f < frames; ++f) {
        QVERIFY2(reader.canRead(), qPrintable(QStringLiteral("frame %1 missing").arg(f)));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        // Known once the frame has been read.
        QCOMPARE(reader.nextImageDelay(), a.delayCs * 10);
        QCOMPARE(image.size(), QSize(width, height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const QRgb want = expectedPixel(a, f, x, y);
                const QRgb got = image.pixel(x, y);
                if (want == 0 ? qAlpha(got) != 0 : got != want) {
                    QFAIL(qPrintable(QStringLiteral("frame %1 pixel (%2, %3): %4, expected %5")
                                         .arg(f)
                                         .arg(x)
                                         .arg(y)
                                         .arg(got, 8, 16, QLatin1Char('0'))
                                         .arg(want, 8, 16, QLatin1Char('0'))));
                }
            }
        }
    }
    QVERIFY(!reader.canRead());
}

void TestGifWriter::everyStreamLengthEndsCleanly_data()
{
    QTest::addColumn<int>("minCodeSize");
    QTest::addColumn<int>("colours");
    QTest::newRow("2-bit codes, 4 colours") << 2 << 4;
    QTest::newRow("2-bit codes, 2 colours") << 2 << 2;
    QTest::newRow("5-bit codes, 32 colours") << 5 << 32;
    QTest::newRow("8-bit codes, 256 colours") << 8 << 256;
}

void TestGifWriter::everyStreamLengthEndsCleanly()
{
    // The end code's width depends on how many codes came before it; walking
    // through every length hits each point where the code width grows.
    QFETCH(int, minCodeSize);
    QFETCH(int, colours);
    QRandomGenerator random(static_cast<quint32>(minCodeSize * 1000 + colours));
    QByteArray indices;
    for (int length = 1; length <= 1500; ++length) {
        indices.append(static_cast<char>(random.bounded(colours)));
        const QByteArray stream = Gif::lzwCompress(indices, minCodeSize);
        QByteArray decoded;
        QString error;
        QVERIFY2(strictLzwDecode(stream, minCodeSize, indices.size(), &decoded, &error),
                 qPrintable(QStringLiteral("length %1: %2").arg(length).arg(error)));
        QCOMPARE(decoded, indices);
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
    QVERIFY(!data.isEmpty());
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, "gif");
    QCOMPARE(reader.loopCount(), loops == 0 ? -1 : loops);
}

void TestGifWriter::rejectsInconsistentInput_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("no frames") << 0;
    QTest::newRow("frame too short") << 1;
    QTest::newRow("index outside palette") << 2;
    QTest::newRow("empty palette") << 3;
    QTest::newRow("palette too large") << 4;
    QTest::newRow("transparent index outside palette") << 5;
    QTest::newRow("zero width") << 6;
}

void TestGifWriter::rejectsInconsistentInput()
{
    QFETCH(int, fault);
    Gif::Animation a = makeAnimation(8, 8, 4, 2, Pattern::Noise, 9, 0);
    QString error;
    QVERIFY(!Gif::encode(a, &error).isEmpty());
    switch (fault) {
    case 0:
        a.frames.clear();
        break;
    case 1:
        a.frames[1].chop(1);
        break;
    case 2:
        a.frames[0][5] = 4;
        break;
    case 3:
        a.palette.clear();
        break;
    case 4:
        a.palette.resize(257);
        break;
    case 5:
        a.transparentIndex = 4;
        break;
    case 6:
        a.width = 0;
        break;
    }
    error.clear();
    QVERIFY(Gif::encode(a, &error).isEmpty());
    QVERIFY(!error.isEmpty());
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
    QCOMPARE(colourAt(1, 4, 3), QRgb(0));

    QString error;
    QVERIFY2(!Gif::encode(a, &error).isEmpty(), qPrintable(error));
}

void TestGifWriter::fromImagesReducesManyColours()
{
    // 4096 different colours must still fit one table, each pixel close to
    // what was asked for.
    QImage image(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            image.setPixel(x, y, qRgb(x * 4, y * 4, (x ^ y) * 4));
        }
    }
    const Gif::Animation a = Gif::fromImages({image}, qRgb(0, 0, 0), 5);
    QVERIFY(a.palette.size() <= 256);
    QString error;
    const QByteArray data = Gif::encode(a, &error);
    QVERIFY2(!data.isEmpty(), qPrintable(error));

    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, "gif");
    const QImage decoded = reader.read().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!decoded.isNull());
    int worst = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb want = image.pixel(x, y);
            const QRgb got = decoded.pixel(x, y);
            QCOMPARE(qAlpha(got), 255);
            worst = std::max({worst, std::abs(qRed(want) - qRed(got)),
                              std::abs(qGreen(want) - qGreen(got)),
                              std::abs(qBlue(want) - qBlue(got))});
        }
    }
    // The reduction stops once the buckets are 32 wide here; no pixel may
    // move by a whole bucket.
    QVERIFY2(worst < 32, qPrintable(QStringLiteral("worst channel error %1").arg(worst)));
}

QTEST_GUILESS_MAIN(TestGifWriter)
#include "tst_gifwriter.moc"
