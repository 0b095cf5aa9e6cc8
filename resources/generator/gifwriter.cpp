#include "gifwriter.h"

#include <QtGlobal>

#include <cstdint>
#include <map>
#include <unordered_map>

namespace Gif {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;

// Packs variable-width codes least significant bit first, as GIF wants them.
class BitWriter
{
public:
    void write(int code, int width)
    {
        m_buffer |= static_cast<std::uint32_t>(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_out.append(static_cast<char>(m_buffer & 0xff));
            m_buffer >>= 8;
            m_bits -= 8;
        }
    }

    QByteArray finish()
    {
        if (m_bits > 0) {
            m_out.append(static_cast<char>(m_buffer & 0xff));
        }
        m_buffer = 0;
        m_bits = 0;
        return m_out;
    }

private:
    QByteArray m_out;
    std::uint32_t m_buffer = 0;
    int m_bits = 0;
};

void appendWord(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xff));
    out.append(static_cast<char>((value >> 8) & 0xff));
}

void appendByte(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xff));
}

// The data of a block cut into sub-blocks of at most 255 bytes, then the
// empty sub-block that ends it.
void appendSubBlocks(QByteArray& out, const QByteArray& data)
{
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype length = qMin<qsizetype>(255, data.size() - at);
        appendByte(out, static_cast<int>(length));
        out.append(data.constData() + at, length);
    }
    appendByte(out, 0);
}

// Bits needed for a colour table holding `colours` entries (at least 1, as
// the smallest table has two entries).
int tableBitsFor(int colours)
{
    int bits = 1;
    while ((1 << bits) < colours) {
        ++bits;
    }
    return bits;
}

bool fail(QString* error, const QString& message)
{
    if (error) {
        *error = message;
    }
    return false;
}

bool validate(const Animation& a, QString* error)
{
    if (a.width < 1 || a.width > 0xffff || a.height < 1 || a.height > 0xffff) {
        return fail(error,
                    QStringLiteral("picture size %1x%2 out of range").arg(a.width).arg(a.height));
    }
    if (a.palette.isEmpty() || a.palette.size() > 256) {
        return fail(error, QStringLiteral("palette of %1 colours").arg(a.palette.size()));
    }
    if (a.transparentIndex >= a.palette.size()) {
        return fail(error, QStringLiteral("transparent index outside the palette"));
    }
    if (a.delayCs < 0 || a.delayCs > 0xffff || a.loopCount < 0 || a.loopCount > 0xffff) {
        return fail(error, QStringLiteral("delay or loop count out of range"));
    }
    if (a.frames.isEmpty()) {
        return fail(error, QStringLiteral("no frames"));
    }
    const qsizetype pixels = static_cast<qsizetype>(a.width) * a.height;
    for (const QByteArray& frame : a.frames) {
        if (frame.size() != pixels) {
            return fail(
                error,
                QStringLiteral("frame of %1 pixels, expected %2").arg(frame.size()).arg(pixels));
        }
        for (const char index : frame) {
            if (static_cast<unsigned char>(index) >= a.palette.size()) {
                return fail(error, QStringLiteral("pixel index outside the palette"));
            }
        }
    }
    return true;
}

} // namespace

QByteArray lzwCompress(const QByteArray& indices, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    BitWriter out;
    int width = minCodeSize + 1;
    int next = endCode + 1;
    // (prefix code << 8 | next index) -> code of the longer string
    std::unordered_map<std::uint32_t, int> table;
    table.reserve(kMaxCodes);

    out.write(clearCode, width);
    if (indices.isEmpty()) {
        out.write(endCode, width);
        return out.finish();
    }

    int prefix = static_cast<unsigned char>(indices.at(0));
    for (qsizetype i = 1; i < indices.size(); ++i) {
        const int index = static_cast<unsigned char>(indices.at(i));
        const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | index;
        const auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.write(prefix, width);
        const int code = next++;
        table.emplace(key, code);
        // The decoder learns each code one step later than we do, so it widens
        // exactly when the code just assigned here needs one more bit.
        if (code == (1 << width) && width < kMaxCodeBits) {
            ++width;
        }
        if (next == kMaxCodes) {
            // Table full: start over rather than keep encoding with a frozen table.
            out.write(clearCode, width);
            table.clear();
            width = minCodeSize + 1;
            next = endCode + 1;
        }
        prefix = index;
    }
    out.write(prefix, width);
    // Reading that last code makes the decoder add one more entry, which may
    // widen its codes before it reads the end code.
    if (next == (1 << width) && width < kMaxCodeBits) {
        ++width;
    }
    out.write(endCode, width);
    return out.finish();
}

QByteArray encode(const Animation& animation, QString* error)
{
    if (!validate(animation, error)) {
        return {};
    }
    const int tableBits = tableBitsFor(static_cast<int>(animation.palette.size()));
    const int tableSize = 1 << tableBits;
    const int minCodeSize = qMax(2, tableBits);

    QByteArray out;
    out.append("GIF89a", 6);

    // Logical screen descriptor: global colour table present, 8 bits of
    // colour resolution, table size 2^(n + 1).
    appendWord(out, animation.width);
    appendWord(out, animation.height);
    appendByte(out, 0x80 | (0x07 << 4) | (tableBits - 1));
    appendByte(out, qMax(0, animation.transparentIndex)); // background colour index
    appendByte(out, 0);                                   // pixel aspect ratio: none given

    for (int i = 0; i < tableSize; ++i) {
        const QRgb colour = i < animation.palette.size() ? animation.palette.at(i) : 0;
        appendByte(out, qRed(colour));
        appendByte(out, qGreen(colour));
        appendByte(out, qBlue(colour));
    }

    // Application extension that makes viewers loop.
    appendByte(out, 0x21);
    appendByte(out, 0xff);
    appendByte(out, 11);
    out.append("NETSCAPE2.0", 11);
    appendByte(out, 3);
    appendByte(out, 1);
    appendWord(out, animation.loopCount);
    appendByte(out, 0);

    const bool transparent = animation.transparentIndex >= 0;
    // With transparency each frame must be cleared before the next one is
    // drawn, or the previous frame shows through its transparent pixels.
    const int disposal = transparent ? 2 : 1;
    for (const QByteArray& frame : animation.frames) {
        appendByte(out, 0x21);
        appendByte(out, 0xf9);
        appendByte(out, 4);
        appendByte(out, (disposal << 2) | (transparent ? 1 : 0));
        appendWord(out, animation.delayCs);
        appendByte(out, transparent ? animation.transparentIndex : 0);
        appendByte(out, 0);

        appendByte(out, 0x2c);
        appendWord(out, 0);
        appendWord(out, 0);
        appendWord(out, animation.width);
        appendWord(out, animation.height);
        appendByte(out, 0); // no local colour table, not interlaced

        appendByte(out, minCodeSize);
        appendSubBlocks(out, lzwCompress(frame, minCodeSize));
    }

    appendByte(out, 0x3b);
    return out;
}

Animation fromImages(const QList<QImage>& frames, QRgb matte, int delayCs)
{
    Animation animation;
    animation.delayCs = delayCs;
    if (frames.isEmpty()) {
        return animation;
    }
    animation.width = frames.first().width();
    animation.height = frames.first().height();
    animation.transparentIndex = 0;

    // First pass: the opaque colours after composing over the matte.
    // Ordered containers keep the output identical from run to run.
    constexpr QRgb kTransparent = 0;
    QList<QVector<QRgb>> composed;
    std::map<QRgb, qint64> counts;
    for (const QImage& source : frames) {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        QVector<QRgb> pixels;
        pixels.reserve(animation.width * animation.height);
        for (int y = 0; y < animation.height; ++y) {
            for (int x = 0; x < animation.width; ++x) {
                const QRgb p = (x < image.width() && y < image.height()) ? image.pixel(x, y) : 0;
                const int a = qAlpha(p);
                if (a < 128) {
                    pixels.append(kTransparent);
                    continue;
                }
                const auto mix = [a](int c, int m) { return (c * a + m * (255 - a) + 127) / 255; };
                const QRgb c = qRgb(mix(qRed(p), qRed(matte)), mix(qGreen(p), qGreen(matte)),
                                    mix(qBlue(p), qBlue(matte)));
                pixels.append(c);
                ++counts[c];
            }
        }
        composed.append(pixels);
    }

    // Drop low bits of every channel until the colours fit beside the
    // transparent entry; each bucket is shown as the average of its members.
    int shift = 0;
    const auto bucketOf = [&shift](QRgb c) {
        return qRgb(qRed(c) >> shift, qGreen(c) >> shift, qBlue(c) >> shift);
    };
    std::map<QRgb, int> bucketIndex;
    for (; shift < 8; ++shift) {
        bucketIndex.clear();
        for (const auto& entry : counts) {
            bucketIndex.emplace(bucketOf(entry.first), 0);
        }
        if (bucketIndex.size() <= 255) {
            break;
        }
    }
    struct Sum
    {
        qint64 r = 0, g = 0, b = 0, n = 0;
    };
    std::map<QRgb, Sum> sums;
    for (const auto& [colour, n] : counts) {
        Sum& s = sums[bucketOf(colour)];
        s.r += qRed(colour) * n;
        s.g += qGreen(colour) * n;
        s.b += qBlue(colour) * n;
        s.n += n;
    }
    animation.palette.append(matte & 0xffffff);
    for (auto& [bucket, index] : bucketIndex) {
        const Sum& s = sums[bucket];
        index = static_cast<int>(animation.palette.size());
        animation.palette.append(qRgb(static_cast<int>((s.r + s.n / 2) / s.n),
                                      static_cast<int>((s.g + s.n / 2) / s.n),
                                      static_cast<int>((s.b + s.n / 2) / s.n)));
    }

    for (int f = 0; f < composed.size(); ++f) {
        QByteArray indices;
        indices.reserve(composed.at(f).size());
        for (qsizetype i = 0; i < composed.at(f).size(); ++i) {
            const QRgb c = composed.at(f).at(i);
            // Opaque black composes to qRgb(0,0,0), which differs from the
            // fully transparent marker 0 by its alpha byte.
            indices.append(static_cast<char>(c == kTransparent ? 0 : bucketIndex.at(bucketOf(c))));
        }
        animation.frames.append(indices);
    }
    return animation;
}

} // namespace Gif
