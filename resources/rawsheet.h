#pragma once

#include <QByteArray>
#include <QImage>
#include <QtEndian>

#include <cstring>

// The sprite sheets are also shipped as plain pixels, so that start-up does
// not spend its first milliseconds inflating a PNG: a 16-byte header (the
// letters "SPRA", a byte-order mark, width, height, each a 32-bit word in the
// machine's order) followed by the rows in QImage::Format_ARGB32_Premultiplied.
// The build draws them on the machine that runs them; a sheet from another
// byte order, or of the wrong size, is not used.
namespace RawSheet {

inline constexpr char kMagic[4] = {'S', 'P', 'R', 'A'};
inline constexpr quint32 kByteOrderMark = 0x01020304;
inline constexpr int kHeaderSize = 16;

inline QByteArray encode(const QImage& picture)
{
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray bytes(kHeaderSize, '\0');
    std::memcpy(bytes.data(), kMagic, 4);
    const quint32 words[3] = {kByteOrderMark, quint32(pixels.width()), quint32(pixels.height())};
    std::memcpy(bytes.data() + 4, words, sizeof words);
    for (int y = 0; y < pixels.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), pixels.width() * 4);
    return bytes;
}

// A copy of the pixels in `data` (which need not be aligned), or a null
// image when they are not a sheet of width x height in this machine's order.
inline QImage decode(const uchar* data, qint64 size, int width, int height)
{
    if (!data || size < kHeaderSize || std::memcmp(data, kMagic, 4) != 0)
        return QImage();
    quint32 words[3];
    std::memcpy(words, data + 4, sizeof words);
    const qint64 rowBytes = qint64(width) * 4;
    if (words[0] != kByteOrderMark || words[1] != quint32(width) || words[2] != quint32(height) ||
        size != kHeaderSize + rowBytes * height)
        return QImage();
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), data + kHeaderSize + rowBytes * y, size_t(rowBytes));
    return image;
}

} // namespace RawSheet
