#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <QtMath>

#include <cmath>
#include <utility>

namespace Artwork {

namespace {

using Sprites::RegionId;

// The program's palette: dark panels, light glyphs, blue accents.
const QColor kGlyphDim(0x66, 0x72, 0x7c);
const QColor kGlyphNormal(0xd3, 0xdb, 0xe1);
const QColor kGlyphBright(0xff, 0xff, 0xff);
const QColor kGlyphDisabled(0x4b, 0x56, 0x5f);
const QColor kHoverBack(0x3d, 0x47, 0x51);
const QColor kPressedBack(0x1f, 0x25, 0x2a);
const QColor kDangerBack(0xe0, 0x31, 0x3c);
const QColor kDangerPressedBack(0xa8, 0x22, 0x2b);
const QColor kAccent(0x00, 0x78, 0xd7);
const QColor kAccentLight(0x2b, 0x95, 0xf0);
const QColor kAccentDark(0x00, 0x5a, 0x9e);
const QColor kOutline(0x9f, 0xb3, 0xc2);
const QColor kIconLight(0xb4, 0xc4, 0xd0);

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QPen roundPen(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// ---------------------------------------------------------------------------
// Window buttons: four looks per row, the glyph at 48 x 48, shown at about
// half that size, so strokes are 4 pixels wide to stay crisp when scaled down.

enum class Look
{
    Dim,
    Normal,
    Hover,
    Pressed
};

enum class WindowGlyph
{
    Menu,
    Feedback,
    Close,
    Minimise
};

void paintWindowGlyph(QPainter& p, WindowGlyph glyph, const QColor& colour)
{
    p.setPen(roundPen(colour, 4));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case WindowGlyph::Menu:
        for (const qreal y : {15.0, 24.0, 33.0}) {
            p.drawLine(QPointF(13, y), QPointF(35, y));
        }
        break;
    case WindowGlyph::Feedback: {
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(10, 11, 28, 20), 5, 5);
        QPainterPath tail;
        tail.addPolygon(QPolygonF({QPointF(15, 29), QPointF(13.5, 38), QPointF(24, 30)}));
        tail.closeSubpath();
        p.setPen(roundPen(colour, 3.5));
        p.drawPath(bubble.united(tail).simplified());
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        for (const qreal x : {17.5, 24.0, 30.5}) {
            p.drawEllipse(QPointF(x, 21), 2.4, 2.4);
        }
        break;
    }
    case WindowGlyph::Close:
        p.drawLine(QPointF(15, 15), QPointF(33, 33));
        p.drawLine(QPointF(33, 15), QPointF(15, 33));
        break;
    case WindowGlyph::Minimise:
        p.drawLine(QPointF(14, 25), QPointF(34, 25));
        break;
    }
}

void paintWindowCell(QPainter& p, WindowGlyph glyph, Look look)
{
    const bool danger = glyph == WindowGlyph::Close;
    const QRectF plate(4, 4, 40, 40);
    QColor colour = kGlyphNormal;
    switch (look) {
    case Look::Dim:
        colour = kGlyphDim;
        break;
    case Look::Normal:
        break;
    case Look::Hover:
        p.setPen(Qt::NoPen);
        p.setBrush(danger ? kDangerBack : kHoverBack);
        p.drawRoundedRect(plate, 7, 7);
        colour = kGlyphBright;
        break;
    case Look::Pressed:
        p.setPen(Qt::NoPen);
        p.setBrush(danger ? kDangerPressedBack : kPressedBack);
        p.drawRoundedRect(plate, 7, 7);
        colour = kGlyphBright;
        // Pushed in: the glyph sinks a little.
        p.translate(1.5, 1.5);
        break;
    }
    paintWindowGlyph(p, glyph, colour);
}

// ---------------------------------------------------------------------------
// Output-format mark: an outlined star while the row is not the output
// format, a filled blue star once it is.

QPolygonF starPolygon(QPointF centre, qreal outer, qreal inner)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = (i % 2 == 0) ? outer : inner;
        const qreal angle = qDegreesToRadians(-90.0 + i * 36.0);
        star << centre + QPointF(radius * qCos(angle), radius * qSin(angle));
    }
    return star;
}

void paintFormatMark(QPainter& p, bool chosen)
{
    const QPolygonF star = starPolygon(QPointF(24, 25.5), 20, 8.2);
    if (chosen) {
        QLinearGradient fill(0, 5, 0, 44);
        fill.setColorAt(0, QColor(0x5c, 0xb6, 0xff));
        fill.setColorAt(1, kAccent);
        p.setBrush(fill);
        p.setPen(roundPen(QColor(0xd6, 0xec, 0xff), 2.5));
    } else {
        p.setBrush(Qt::NoBrush);
        p.setPen(roundPen(QColor(0x9a, 0xa6, 0xb0), 3.5));
    }
    p.drawPolygon(star);
}

// ---------------------------------------------------------------------------
// Preview controls: a round button with the glyph inside, 48 x 48, shown at
// 35 x 35.

enum class ControlGlyph
{
    Play,
    Pause,
    SetStart,
    SetEnd
};

enum class ControlState
{
    Normal,
    Hover,
    Pressed,
    Disabled
};

void paintControlGlyph(QPainter& p, ControlGlyph glyph, const QColor& colour)
{
    p.setBrush(colour);
    p.setPen(roundPen(colour, 2));
    switch (glyph) {
    case ControlGlyph::Play:
        p.drawPolygon(QPolygonF({QPointF(19, 14.5), QPointF(19, 33.5), QPointF(34, 24)}));
        break;
    case ControlGlyph::Pause:
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(15.5, 14, 6.5, 20), 1.5, 1.5);
        p.drawRoundedRect(QRectF(26, 14, 6.5, 20), 1.5, 1.5);
        break;
    case ControlGlyph::SetStart:
        p.drawPolygon(QPolygonF({QPointF(23, 17), QPointF(23, 31), QPointF(33, 24)}));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour, 3.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPolyline(
            QPolygonF({QPointF(20, 14), QPointF(15.5, 14), QPointF(15.5, 34), QPointF(20, 34)}));
        break;
    case ControlGlyph::SetEnd:
        p.drawPolygon(QPolygonF({QPointF(25, 17), QPointF(25, 31), QPointF(15, 24)}));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour, 3.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPolyline(
            QPolygonF({QPointF(28, 14), QPointF(32.5, 14), QPointF(32.5, 34), QPointF(28, 34)}));
        break;
    }
}

void paintControlCell(QPainter& p, ControlGlyph glyph, ControlState state)
{
    const QPointF centre(24, 24);
    QColor colour;
    switch (state) {
    case ControlState::Normal:
        p.setPen(QPen(QColor(0x5b, 0x69, 0x74), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, 21, 21);
        colour = QColor(0xe3, 0xe9, 0xee);
        break;
    case ControlState::Hover:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x13, 0x86, 0xe6));
        p.drawEllipse(centre, 22, 22);
        colour = kGlyphBright;
        break;
    case ControlState::Pressed:
        p.setPen(Qt::NoPen);
        p.setBrush(kAccentDark);
        p.drawEllipse(centre, 22, 22);
        colour = QColor(0xe6, 0xf1, 0xfb);
        p.translate(1, 1);
        break;
    case ControlState::Disabled:
        p.setPen(QPen(QColor(0x34, 0x3d, 0x44), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, 21, 21);
        colour = kGlyphDisabled;
        break;
    }
    paintControlGlyph(p, glyph, colour);
}

// ---------------------------------------------------------------------------
// Larger pictures.

void paintThumbnailPlaceholder(QPainter& p, const QSizeF& size)
{
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal band = 20;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x12, 0x17, 0x1b));
    p.drawRect(QRectF(0, 0, w, h));

    QLinearGradient frame(0, band, 0, h - band);
    frame.setColorAt(0, QColor(0x2a, 0x33, 0x3b));
    frame.setColorAt(1, QColor(0x1e, 0x25, 0x2b));
    p.setBrush(frame);
    p.drawRect(QRectF(0, band, w, h - 2 * band));

    // Sprocket holes along both edges make it read as a frame of film.
    p.setBrush(QColor(0x3c, 0x49, 0x52));
    for (qreal x = 8; x + 11 <= w; x += 20) {
        p.drawRoundedRect(QRectF(x, 6, 11, 8), 2, 2);
        p.drawRoundedRect(QRectF(x, h - 14, 11, 8), 2, 2);
    }

    const QPointF centre(w / 2, h / 2);
    const QColor mark(0x6a, 0x7a, 0x87);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mark, 3));
    p.drawEllipse(centre, 25, 25);
    p.setPen(roundPen(mark, 2));
    p.setBrush(mark);
    p.drawPolygon(
        QPolygonF({centre + QPointF(-7, -12), centre + QPointF(-7, 12), centre + QPointF(13, 0)}));
}

// A sheet of paper with a folded corner, centred on the origin.
void paintDocument(QPainter& p, const QColor& paper)
{
    const QPolygonF outline(
        {QPointF(-34, -44), QPointF(16, -44), QPointF(34, -26), QPointF(34, 44), QPointF(-34, 44)});
    p.setBrush(paper);
    p.setPen(roundPen(kOutline, 4));
    p.drawPolygon(outline);
    p.setPen(roundPen(kOutline, 3));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(16, -44), QPointF(16, -26), QPointF(34, -26)}));
}

void paintMusicNote(QPainter& p, const QColor& colour, qreal scale)
{
    p.save();
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(-8.5, 14), 6.5, 5);
    p.drawEllipse(QPointF(10.5, 10), 6.5, 5);
    p.drawPolygon(
        QPolygonF({QPointF(-4, -14), QPointF(15, -18), QPointF(15, -11), QPointF(-4, -7)}));
    p.setPen(QPen(colour, 3.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(-3.75, 14), QPointF(-3.75, -12));
    p.drawLine(QPointF(15.25, 10), QPointF(15.25, -16));
    p.restore();
}

void paintListGuide(QPainter& p, const QSizeF& size)
{
    const qreal w = size.width();
    const qreal h = size.height();

    // The drop zone.
    QPen dashes(QColor(0x4a, 0x58, 0x64), 4, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    dashes.setDashPattern({3, 2});
    p.setPen(dashes);
    p.setBrush(QColor(0x1c, 0x22, 0x27));
    p.drawRoundedRect(QRectF(4, 4, w - 8, h - 8), 20, 20);

    // Two files on their way in: a video and an audio file.
    p.save();
    p.translate(213, 84);
    p.rotate(10);
    paintDocument(p, QColor(0x26, 0x31, 0x3a));
    paintMusicNote(p, kOutline, 1.1);
    p.restore();

    p.save();
    p.translate(137, 84);
    p.rotate(-10);
    paintDocument(p, QColor(0x2b, 0x37, 0x41));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(0, 6), 17, 17);
    p.setBrush(kGlyphBright);
    p.setPen(roundPen(kGlyphBright, 2));
    p.drawPolygon(QPolygonF({QPointF(-5, -3.5), QPointF(-5, 15.5), QPointF(10, 6)}));
    p.restore();

    // Arrow down into a tray.
    const qreal cx = w / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(kAccentLight);
    p.drawRoundedRect(QRectF(cx - 8, 146, 16, 30), 3, 3);
    p.setPen(roundPen(kAccentLight, 3));
    p.drawPolygon(QPolygonF({QPointF(cx - 22, 172), QPointF(cx + 22, 172), QPointF(cx, 196)}));

    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(kOutline, 5));
    p.drawPolyline(QPolygonF({QPointF(cx - 56, 186), QPointF(cx - 56, 212), QPointF(cx + 56, 212),
                              QPointF(cx + 56, 186)}));
}

void paintVideoIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kIconLight);
    p.drawRoundedRect(QRectF(1, 3, 18, 14), 3, 3);
    p.drawPolygon(QPolygonF({QPointF(20.5, 10), QPointF(27, 4), QPointF(27, 16)}));
}

void paintAudioIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kIconLight);
    p.drawEllipse(QPointF(8, 15.5), 4.4, 3.4);
    p.drawEllipse(QPointF(21, 13.5), 4.4, 3.4);
    p.drawPolygon(
        QPolygonF({QPointF(11, 3), QPointF(25.6, 0.5), QPointF(25.6, 5), QPointF(11, 7.5)}));
    p.setPen(QPen(kIconLight, 2.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(11.3, 15.5), QPointF(11.3, 4));
    p.drawLine(QPointF(24.5, 13.5), QPointF(24.5, 1.5));
}

void paintPlayhead(QPainter& p, const QSizeF& size)
{
    p.setPen(QPen(QColor(0x1b, 0x21, 0x26), 1));
    p.setBrush(kGlyphBright);
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRect(QRectF(size.width() / 2 - 1, 4, 2, size.height() - 8));
}

void paintTrimHandle(QPainter& p, const QSizeF& size)
{
    p.setPen(QPen(kAccent, 2));
    p.setBrush(QColor(0xee, 0xf3, 0xf7));
    p.drawRoundedRect(QRectF(1, 1, size.width() - 2, size.height() - 2), 4, 4);
    p.setPen(roundPen(kAccent, 2));
    const qreal mid = size.width() / 2;
    for (const qreal x : {mid - 2.5, mid + 2.5}) {
        p.drawLine(QPointF(x, 10), QPointF(x, size.height() - 10));
    }
}

void paintAddFilesIcon(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(kGlyphBright, 2));
    p.drawPolygon(QPolygonF(
        {QPointF(5, 3), QPointF(16, 3), QPointF(22, 9), QPointF(22, 27), QPointF(5, 27)}));
    p.setPen(roundPen(kGlyphBright, 1.6));
    p.drawPolyline(QPolygonF({QPointF(16, 3), QPointF(16, 9), QPointF(22, 9)}));
    // A plus badge over the corner.
    p.setPen(QPen(QColor(0x2a, 0x31, 0x37), 1.5));
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(22, 21.5), 7.5, 7.5);
    p.setPen(roundPen(kGlyphBright, 2.2));
    p.drawLine(QPointF(18.5, 21.5), QPointF(25.5, 21.5));
    p.drawLine(QPointF(22, 18), QPointF(22, 25));
}

void paintClearAllIcon(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(kGlyphBright, 2.2));
    p.drawLine(QPointF(5, 8), QPointF(25, 8));
    p.setPen(roundPen(kGlyphBright, 2));
    p.drawPolyline(
        QPolygonF({QPointF(11.5, 8), QPointF(11.5, 4.5), QPointF(18.5, 4.5), QPointF(18.5, 8)}));
    p.drawPolyline(
        QPolygonF({QPointF(7.5, 11), QPointF(9, 27), QPointF(21, 27), QPointF(22.5, 11)}));
    p.setPen(roundPen(kGlyphBright, 1.8));
    for (const qreal x : {12.0, 15.0, 18.0}) {
        p.drawLine(QPointF(x, 14), QPointF(x, 23.5));
    }
}

// The update dialogs' title-bar cross, 32 x 32, shown at 16 x 16.
void paintDialogCross(QPainter& p, ControlState state)
{
    QColor colour = QColor(0xb9, 0xc3, 0xca);
    switch (state) {
    case ControlState::Normal:
        break;
    case ControlState::Hover:
        p.setPen(Qt::NoPen);
        p.setBrush(kDangerBack);
        p.drawRoundedRect(QRectF(3, 3, 26, 26), 5, 5);
        colour = kGlyphBright;
        break;
    case ControlState::Pressed:
        p.setPen(Qt::NoPen);
        p.setBrush(kDangerPressedBack);
        p.drawRoundedRect(QRectF(3, 3, 26, 26), 5, 5);
        colour = QColor(0xf2, 0xd6, 0xd8);
        p.translate(1, 1);
        break;
    case ControlState::Disabled:
        colour = QColor(0x55, 0x5e, 0x65);
        break;
    }
    p.setPen(roundPen(colour, 2.8));
    p.drawLine(QPointF(10, 10), QPointF(22, 22));
    p.drawLine(QPointF(22, 10), QPointF(10, 22));
}

// Open-folder button, 32 x 32, shown at 24 x 24.
void paintOpenFolder(QPainter& p, ControlState state)
{
    QColor back(0x8f, 0xa3, 0xb3);
    QColor front(0xc8, 0xd5, 0xdf);
    switch (state) {
    case ControlState::Normal:
        break;
    case ControlState::Hover:
        back = QColor(0x3a, 0x8f, 0xd8);
        front = QColor(0x7c, 0xc2, 0xff);
        break;
    case ControlState::Pressed:
        back = QColor(0x0a, 0x4f, 0x8a);
        front = QColor(0x1e, 0x80, 0xd8);
        p.translate(1, 1);
        break;
    case ControlState::Disabled:
        back = QColor(0x38, 0x41, 0x48);
        front = QColor(0x4a, 0x55, 0x5e);
        break;
    }
    p.setPen(QPen(back, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(back);
    p.drawPolygon(QPolygonF({QPointF(3, 6.5), QPointF(11.5, 6.5), QPointF(14.5, 9.5),
                             QPointF(27, 9.5), QPointF(27, 25), QPointF(3, 25)}));
    p.setPen(QPen(front, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(front);
    p.drawPolygon(QPolygonF(
        {QPointF(7.5, 13.5), QPointF(30.5, 13.5), QPointF(26.5, 25.5), QPointF(3, 25.5)}));
}

void paintRegion(QPainter& p, RegionId id, const QSizeF& size)
{
    switch (id) {
    case RegionId::MenuDim:
        return paintWindowCell(p, WindowGlyph::Menu, Look::Dim);
    case RegionId::MenuNormal:
        return paintWindowCell(p, WindowGlyph::Menu, Look::Normal);
    case RegionId::MenuHover:
        return paintWindowCell(p, WindowGlyph::Menu, Look::Hover);
    case RegionId::MenuPressed:
        return paintWindowCell(p, WindowGlyph::Menu, Look::Pressed);
    case RegionId::FeedbackDim:
        return paintWindowCell(p, WindowGlyph::Feedback, Look::Dim);
    case RegionId::FeedbackNormal:
        return paintWindowCell(p, WindowGlyph::Feedback, Look::Normal);
    case RegionId::FeedbackHover:
        return paintWindowCell(p, WindowGlyph::Feedback, Look::Hover);
    case RegionId::FeedbackPressed:
        return paintWindowCell(p, WindowGlyph::Feedback, Look::Pressed);
    case RegionId::CloseDim:
        return paintWindowCell(p, WindowGlyph::Close, Look::Dim);
    case RegionId::CloseNormal:
        return paintWindowCell(p, WindowGlyph::Close, Look::Normal);
    case RegionId::CloseHover:
        return paintWindowCell(p, WindowGlyph::Close, Look::Hover);
    case RegionId::ClosePressed:
        return paintWindowCell(p, WindowGlyph::Close, Look::Pressed);
    case RegionId::MinimiseDim:
        return paintWindowCell(p, WindowGlyph::Minimise, Look::Dim);
    case RegionId::MinimiseNormal:
        return paintWindowCell(p, WindowGlyph::Minimise, Look::Normal);
    case RegionId::MinimiseHover:
        return paintWindowCell(p, WindowGlyph::Minimise, Look::Hover);
    case RegionId::MinimisePressed:
        return paintWindowCell(p, WindowGlyph::Minimise, Look::Pressed);
    case RegionId::FormatMarkOff:
        return paintFormatMark(p, false);
    case RegionId::FormatMarkOn:
        return paintFormatMark(p, true);
    case RegionId::PlayNormal:
        return paintControlCell(p, ControlGlyph::Play, ControlState::Normal);
    case RegionId::PlayHover:
        return paintControlCell(p, ControlGlyph::Play, ControlState::Hover);
    case RegionId::PlayPressed:
        return paintControlCell(p, ControlGlyph::Play, ControlState::Pressed);
    case RegionId::PlayDisabled:
        return paintControlCell(p, ControlGlyph::Play, ControlState::Disabled);
    case RegionId::PauseNormal:
        return paintControlCell(p, ControlGlyph::Pause, ControlState::Normal);
    case RegionId::PauseHover:
        return paintControlCell(p, ControlGlyph::Pause, ControlState::Hover);
    case RegionId::PausePressed:
        return paintControlCell(p, ControlGlyph::Pause, ControlState::Pressed);
    case RegionId::PauseDisabled:
        return paintControlCell(p, ControlGlyph::Pause, ControlState::Disabled);
    case RegionId::SetStartNormal:
        return paintControlCell(p, ControlGlyph::SetStart, ControlState::Normal);
    case RegionId::SetStartHover:
        return paintControlCell(p, ControlGlyph::SetStart, ControlState::Hover);
    case RegionId::SetStartPressed:
        return paintControlCell(p, ControlGlyph::SetStart, ControlState::Pressed);
    case RegionId::SetStartDisabled:
        return paintControlCell(p, ControlGlyph::SetStart, ControlState::Disabled);
    case RegionId::SetEndNormal:
        return paintControlCell(p, ControlGlyph::SetEnd, ControlState::Normal);
    case RegionId::SetEndHover:
        return paintControlCell(p, ControlGlyph::SetEnd, ControlState::Hover);
    case RegionId::SetEndPressed:
        return paintControlCell(p, ControlGlyph::SetEnd, ControlState::Pressed);
    case RegionId::SetEndDisabled:
        return paintControlCell(p, ControlGlyph::SetEnd, ControlState::Disabled);
    case RegionId::ThumbnailPlaceholder:
        return paintThumbnailPlaceholder(p, size);
    case RegionId::ListGuide:
        return paintListGuide(p, size);
    case RegionId::VideoIcon:
        return paintVideoIcon(p);
    case RegionId::AudioIcon:
        return paintAudioIcon(p);
    case RegionId::Playhead:
        return paintPlayhead(p, size);
    case RegionId::TrimHandle:
        return paintTrimHandle(p, size);
    case RegionId::AddFilesIcon:
        return paintAddFilesIcon(p);
    case RegionId::ClearAllIcon:
        return paintClearAllIcon(p);
    case RegionId::DialogCrossNormal:
        return paintDialogCross(p, ControlState::Normal);
    case RegionId::DialogCrossHover:
        return paintDialogCross(p, ControlState::Hover);
    case RegionId::DialogCrossPressed:
        return paintDialogCross(p, ControlState::Pressed);
    case RegionId::DialogCrossDisabled:
        return paintDialogCross(p, ControlState::Disabled);
    case RegionId::OpenFolderNormal:
        return paintOpenFolder(p, ControlState::Normal);
    case RegionId::OpenFolderHover:
        return paintOpenFolder(p, ControlState::Hover);
    case RegionId::OpenFolderPressed:
        return paintOpenFolder(p, ControlState::Pressed);
    case RegionId::OpenFolderDisabled:
        return paintOpenFolder(p, ControlState::Disabled);
    case RegionId::Count:
        break;
    }
}

// ---------------------------------------------------------------------------
// Program icon parts.

// A film strip centred on the origin, sprocket holes spaced symmetrically so
// that a cut at the centre falls between two of them.
QPainterPath filmStrip(qreal halfLength, qreal height)
{
    QPainterPath strip;
    strip.addRoundedRect(QRectF(-halfLength, -height / 2, 2 * halfLength, height), 6, 6);
    QPainterPath holes;
    const qreal holeW = 11;
    const qreal holeH = 9;
    for (qreal centre = 16; centre + holeW / 2 <= halfLength - 4; centre += 21) {
        for (const qreal x : {centre, -centre}) {
            holes.addRoundedRect(QRectF(x - holeW / 2, -height / 2 + 6, holeW, holeH), 2.5, 2.5);
            holes.addRoundedRect(QRectF(x - holeW / 2, height / 2 - 6 - holeH, holeW, holeH), 2.5,
                                 2.5);
        }
    }
    return strip.subtracted(holes);
}

// Scissors with the pivot at the origin, blades pointing along +x. The rings
// are cut out, so the background shows through them.
QPainterPath scissorsOutline()
{
    const qreal opening = 17; // half the angle between the blades, degrees
    QPainterPath scissors;
    for (const int side : {-1, 1}) {
        QTransform turn;
        turn.rotate(side * opening);
        QPainterPath half;
        half.moveTo(-4, -10);
        half.quadTo(52, -12, 100, 0);
        half.quadTo(52, 7, -4, 10);
        half.closeSubpath();
        // The handle continues the blade through the pivot.
        half.addRoundedRect(QRectF(-40, -6.5, 40, 13), 6, 6);
        QPainterPath ring;
        ring.addEllipse(QPointF(-56, 0), 22, 18);
        QPainterPath hole;
        hole.addEllipse(QPointF(-56, 0), 12.5, 9);
        half = half.united(ring).subtracted(hole);
        scissors = scissors.united(turn.map(half));
    }
    return scissors;
}

// Shared with the scalable drawing, which strokes the same outline.
constexpr qreal kScissorsRim = 5;
constexpr qreal kScissorsPivot = 5.5;

void paintScissors(QPainter& p, const QColor& metal, const QColor& rim, const QColor& pivot)
{
    const QPainterPath scissors = scissorsOutline();
    // A dark rim keeps the blades apart from the white film behind them.
    p.setPen(QPen(rim, kScissorsRim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(metal);
    p.drawPath(scissors);
    p.setPen(Qt::NoPen);
    p.setBrush(pivot);
    p.drawEllipse(QPointF(0, 0), kScissorsPivot, kScissorsPivot);
}

// ---------------------------------------------------------------------------
// The program icon, laid out in a square of kIconUnits. The picture and the
// scalable drawing read the same numbers, so the two cannot drift apart.

constexpr qreal kIconUnits = 256;
const QRectF kIconTile(8, 8, 240, 240);
constexpr qreal kIconTileRadius = 50;
struct IconStop
{
    qreal at;
    QColor colour;
};
const IconStop kIconTileStops[] = {
    {0, QColor(0x3a, 0xa6, 0xf5)}, {0.55, kAccent}, {1, QColor(0x00, 0x4f, 0x8f)}};
const QColor kFilmColour(0xf4, 0xf9, 0xff);
const QColor kScissorsRimColour(0x0a, 0x4a, 0x85);

const QPointF kStripCentre(128, 168);
constexpr qreal kStripAngle = -14;
constexpr qreal kStripHalfLength = 108;
constexpr qreal kStripHeight = 60;
// The right piece drops and turns a little, as if just cut off.
const QPointF kRightPieceShift(5, 6);
constexpr qreal kRightPieceAngle = 5;

const QPointF kScissorsCentre(84, 86);
constexpr qreal kScissorsAngle = 57;
constexpr qreal kScissorsScale = 0.92;

// Below this size the sprocket holes and the scissors' rim blur into the
// tile, so the small sizes get a simpler drawing on the pixel grid.
constexpr int kDetailedIconMinSize = 48;

QPainterPath stripPiece(bool right)
{
    QPainterPath half;
    half.addRect(right ? QRectF(5, -50, 115, 100) : QRectF(-120, -50, 115, 100));
    return half;
}

QLinearGradient tileGradient(const QRectF& tile)
{
    QLinearGradient back(tile.topLeft(), tile.bottomRight());
    for (const IconStop& stop : kIconTileStops) {
        back.setColorAt(stop.at, stop.colour);
    }
    return back;
}

void paintProgramIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(tileGradient(kIconTile));
    p.drawRoundedRect(kIconTile, kIconTileRadius, kIconTileRadius);

    // A film strip, cut in two.
    p.save();
    p.translate(kStripCentre.x(), kStripCentre.y());
    p.rotate(kStripAngle);
    const QPainterPath strip = filmStrip(kStripHalfLength, kStripHeight);
    p.setBrush(kFilmColour);
    p.drawPath(strip.intersected(stripPiece(false)));
    p.save();
    p.translate(kRightPieceShift.x(), kRightPieceShift.y());
    p.rotate(kRightPieceAngle);
    p.drawPath(strip.intersected(stripPiece(true)));
    p.restore();
    p.restore();

    // Scissors coming down on the cut.
    p.save();
    p.translate(kScissorsCentre.x(), kScissorsCentre.y());
    p.rotate(kScissorsAngle);
    p.scale(kScissorsScale, kScissorsScale);
    paintScissors(p, kGlyphBright, kScissorsRimColour, kAccentDark);
    p.restore();
}

// The same picture for menus and panels, drawn on a 16-unit grid: the strip
// lies level so its edges and holes fall on whole pixels, and the scissors
// keep only what still reads at this size: two rings, and two blades whose
// tips meet over the cut.
void paintSmallProgramIcon(QPainter& p, int size)
{
    const qreal unit = size / 16.0;
    const int dot = size >= 32 ? 2 : 1; // one sprocket hole, in pixels
    const int margin = size >= 32 ? 1 : 0;
    const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
    const qreal radius = tile.width() * kIconTileRadius / kIconTile.width();
    p.setPen(Qt::NoPen);
    p.setBrush(tileGradient(tile));
    p.drawRoundedRect(tile, radius, radius);

    // Rows of the strip: edge, holes, middle, holes, edge.
    const int middle = size >= 32 ? dot : size >= 22 ? 3 : 1;
    const int height = 4 * dot + middle;
    const int top = qRound(10 * unit);
    const int left = margin + dot;
    const int right = size - margin - dot;
    const int gap = size >= 22 ? 2 : 1;
    const int cut = qRound(8 * unit) - gap / 2;
    p.setBrush(kFilmColour);
    for (const auto& [from, to] : {std::pair(left, cut), std::pair(cut + gap, right)}) {
        QPainterPath film;
        film.addRect(QRectF(from, top, to - from, height));
        QPainterPath holes;
        for (int x = from + dot; x + dot <= to - dot; x += 2 * dot) {
            for (const int y : {top + dot, top + height - 2 * dot}) {
                holes.addRect(QRectF(x, y, dot, dot));
            }
        }
        p.drawPath(film.subtracted(holes));
    }

    // Scissors along a line 60 degrees down from the level, pivot in the
    // middle, blades opened 13 degrees either way.
    p.save();
    p.scale(unit, unit);
    const QPointF pivot(6.4, 6.3);
    const QPointF axis(std::cos(qDegreesToRadians(60.0)), std::sin(qDegreesToRadians(60.0)));
    const QPointF across(axis.y(), -axis.x());
    const QPointF handles = pivot - 3.0 * axis;
    const QPointF rings[] = {handles + 1.8 * across, handles - 1.8 * across};
    const qreal ringRadius = 1.4;
    const qreal stroke = size >= 32 ? 1.0 : 1.15;
    QPainterPath blades;
    for (const qreal angle : {47.0, 73.0}) {
        const qreal a = qDegreesToRadians(angle);
        const QPointF along(std::cos(a), std::sin(a));
        const QPointF side(along.y(), -along.x());
        // Wide at the pivot, keeping most of that width before the point.
        blades.addPolygon(
            QPolygonF({pivot - 0.8 * along - 1.0 * side, pivot + 2.6 * along - 0.8 * side,
                       pivot + 4.6 * along, pivot + 2.6 * along + 0.8 * side,
                       pivot - 0.8 * along + 1.0 * side}));
        blades.closeSubpath();
    }
    p.setBrush(kGlyphBright);
    p.drawPath(blades.simplified());
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kGlyphBright, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const QPointF& ring : rings) {
        const QPointF towards = pivot - ring;
        const qreal length = std::hypot(towards.x(), towards.y());
        p.drawEllipse(ring, ringRadius, ringRadius);
        p.drawLine(ring + towards * (ringRadius / length), pivot);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kAccentDark);
    p.drawEllipse(pivot, 0.55, 0.55);
    p.restore();
}

// Numbers in the scalable drawing: short, and always with a dot.
QString svgNumber(qreal value)
{
    QString text = QString::number(value, 'f', 3);
    while (text.contains(QLatin1Char('.')) &&
           (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.')))) {
        text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString svgPath(const QPainterPath& path, const QString& indent, const QString& style = QString())
{
    QString data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            data += QStringLiteral("M%1 %2").arg(svgNumber(e.x), svgNumber(e.y));
            break;
        case QPainterPath::LineToElement:
            data += QStringLiteral("L%1 %2").arg(svgNumber(e.x), svgNumber(e.y));
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            data += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                        .arg(svgNumber(e.x), svgNumber(e.y), svgNumber(c2.x), svgNumber(c2.y),
                             svgNumber(end.x), svgNumber(end.y));
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    const QString rule =
        path.fillRule() == Qt::WindingFill ? QStringLiteral("nonzero") : QStringLiteral("evenodd");
    return QStringLiteral("%1<path fill-rule=\"%2\"%3 d=\"%4\"/>\n").arg(indent, rule, style, data);
}

} // namespace

QImage drawRegion(RegionId id)
{
    const Sprites::Region& r = Sprites::region(id);
    QImage image = blankImage(r.width, r.height);
    QPainter p(&image);
    prepare(p);
    p.setClipRect(QRect(0, 0, r.width, r.height));
    paintRegion(p, id, QSizeF(r.width, r.height));
    p.end();
    return image;
}

QImage drawSheet(Sprites::Sheet sheet)
{
    const Sprites::SheetInfo& info = Sprites::sheetInfo(sheet);
    QImage image = blankImage(info.width, info.height);
    QPainter p(&image);
    // Each region is drawn on its own and copied in, so no stroke can spill
    // into a neighbour.
    for (const Sprites::Region& r : Sprites::kRegions) {
        if (r.sheet == sheet) {
            p.drawImage(QPoint(r.x, r.y), drawRegion(r.id));
        }
    }
    p.end();
    return image;
}

QImage drawProgramIcon()
{
    return drawProgramIcon(Sprites::kProgramIconSize);
}

QImage drawProgramIcon(int size)
{
    QImage image = blankImage(size, size);
    QPainter p(&image);
    prepare(p);
    if (size >= kDetailedIconMinSize) {
        p.scale(size / kIconUnits, size / kIconUnits);
        paintProgramIcon(p);
    } else {
        paintSmallProgramIcon(p, size);
    }
    p.end();
    return image;
}

QByteArray programIconSvg()
{
    const QString units = svgNumber(kIconUnits);
    QString svg;
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    svg += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">\n")
               .arg(units);
    svg +=
        QStringLiteral("  <defs>\n    <linearGradient id=\"tile\" gradientUnits=\"userSpaceOnUse\" "
                       "x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\">\n")
            .arg(svgNumber(kIconTile.left()), svgNumber(kIconTile.top()),
                 svgNumber(kIconTile.right()), svgNumber(kIconTile.bottom()));
    for (const IconStop& stop : kIconTileStops) {
        svg += QStringLiteral("      <stop offset=\"%1\" stop-color=\"%2\"/>\n")
                   .arg(svgNumber(stop.at), stop.colour.name());
    }
    svg += QStringLiteral("    </linearGradient>\n  </defs>\n");
    svg +=
        QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" ry=\"%5\" "
                       "fill=\"url(#tile)\"/>\n")
            .arg(svgNumber(kIconTile.x()), svgNumber(kIconTile.y()), svgNumber(kIconTile.width()),
                 svgNumber(kIconTile.height()), svgNumber(kIconTileRadius));

    const QPainterPath strip = filmStrip(kStripHalfLength, kStripHeight);
    svg += QStringLiteral("  <g transform=\"translate(%1 %2) rotate(%3)\" fill=\"%4\">\n")
               .arg(svgNumber(kStripCentre.x()), svgNumber(kStripCentre.y()),
                    svgNumber(kStripAngle), kFilmColour.name());
    svg += svgPath(strip.intersected(stripPiece(false)), QStringLiteral("    "));
    svg += QStringLiteral("    <g transform=\"translate(%1 %2) rotate(%3)\">\n")
               .arg(svgNumber(kRightPieceShift.x()), svgNumber(kRightPieceShift.y()),
                    svgNumber(kRightPieceAngle));
    svg += svgPath(strip.intersected(stripPiece(true)), QStringLiteral("      "));
    svg += QStringLiteral("    </g>\n  </g>\n");

    svg += QStringLiteral("  <g transform=\"translate(%1 %2) rotate(%3) scale(%4)\">\n")
               .arg(svgNumber(kScissorsCentre.x()), svgNumber(kScissorsCentre.y()),
                    svgNumber(kScissorsAngle), svgNumber(kScissorsScale));
    svg +=
        svgPath(scissorsOutline(), QStringLiteral("    "),
                QStringLiteral(" fill=\"%1\" stroke=\"%2\" stroke-width=\"%3\" "
                               "stroke-linecap=\"round\" stroke-linejoin=\"round\"")
                    .arg(kGlyphBright.name(), kScissorsRimColour.name(), svgNumber(kScissorsRim)));
    svg += QStringLiteral("    <circle cx=\"0\" cy=\"0\" r=\"%1\" fill=\"%2\"/>\n")
               .arg(svgNumber(kScissorsPivot), kAccentDark.name());
    svg += QStringLiteral("  </g>\n</svg>\n");
    return svg.toUtf8();
}

QImage drawComboArrow()
{
    QImage image = blankImage(Sprites::kComboArrowWidth, Sprites::kComboArrowHeight);
    QPainter p(&image);
    prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyphNormal);
    const qreal w = Sprites::kComboArrowWidth;
    const qreal h = Sprites::kComboArrowHeight;
    p.drawPolygon(QPolygonF({QPointF(0.5, 0.5), QPointF(w - 0.5, 0.5), QPointF(w / 2, h - 0.5)}));
    p.end();
    return image;
}

QImage drawSpeaker(bool muted)
{
    const int size = Sprites::kSpeakerIconSize;
    QImage image = blankImage(size, size);
    QPainter p(&image);
    prepare(p);
    p.scale(size / 32.0, size / 32.0);
    const QColor body(0xd8, 0xe0, 0xe6);
    p.setPen(roundPen(body, 1.5));
    p.setBrush(body);
    p.drawPolygon(QPolygonF({QPointF(4, 12), QPointF(10, 12), QPointF(17, 5.5), QPointF(17, 26.5),
                             QPointF(10, 20), QPointF(4, 20)}));
    p.setBrush(Qt::NoBrush);
    if (muted) {
        p.setPen(roundPen(QColor(0xff, 0x5d, 0x5d), 2.6));
        p.drawLine(QPointF(21, 11.5), QPointF(29, 20.5));
        p.drawLine(QPointF(29, 11.5), QPointF(21, 20.5));
    } else {
        p.setPen(roundPen(body, 2.4));
        p.drawArc(QRectF(11, 10, 12, 12), -45 * 16, 90 * 16);
        p.drawArc(QRectF(6, 5, 22, 22), -45 * 16, 90 * 16);
    }
    p.end();
    return image;
}

QImage drawSpinArrow(bool up, int state)
{
    const int w = Sprites::kSpinArrowWidth;
    const int h = Sprites::kSpinArrowHeight;
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    QColor colour(0xb7, 0xc2, 0xca);
    const QRectF plate(0.5, 0.5, w - 1, h - 1);
    switch (state) {
    case 2:
        p.setPen(Qt::NoPen);
        p.setBrush(kHoverBack);
        p.drawRoundedRect(plate, 2, 2);
        colour = kGlyphBright;
        break;
    case 3:
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(plate, 2, 2);
        colour = kGlyphBright;
        p.translate(0, 0.75);
        break;
    case 4:
        colour = kGlyphDisabled;
        break;
    default:
        break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const qreal cx = w / 2.0;
    if (up) {
        p.drawPolygon(QPolygonF({QPointF(cx - 4, 7), QPointF(cx + 4, 7), QPointF(cx, 2.5)}));
    } else {
        p.drawPolygon(QPolygonF({QPointF(cx - 4, 3), QPointF(cx + 4, 3), QPointF(cx, 7.5)}));
    }
    p.end();
    return image;
}

QRgb dotSpinnerMatte()
{
    return qRgb(0x2e, 0x30, 0x33); // the update dialogs' panel
}

QRgb arcSpinnerMatte()
{
    return qRgb(0x16, 0x1b, 0x1f); // the progress box
}

QList<QImage> drawDotSpinnerFrames()
{
    // Eight dots; the lit one walks round and leaves a fading trail. The
    // fading is mixed towards the background here because a GIF pixel is
    // either opaque or transparent.
    constexpr int kDots = 8;
    const int size = Sprites::kBusyAnimationSize;
    const QColor lit(0x4f, 0xb0, 0xff);
    const QColor matte = QColor::fromRgb(dotSpinnerMatte());
    QList<QImage> frames;
    for (int frame = 0; frame < kDots; ++frame) {
        QImage image = blankImage(size, size);
        QPainter p(&image);
        prepare(p);
        p.setPen(Qt::NoPen);
        const QPointF centre(size / 2.0, size / 2.0);
        for (int dot = 0; dot < kDots; ++dot) {
            const int age = (frame - dot + kDots) % kDots;
            const qreal t = 1.0 - age / static_cast<qreal>(kDots);
            const qreal k = 0.25 + 0.75 * t * t;
            const QColor c = QColor::fromRgbF(lit.redF() * k + matte.redF() * (1 - k),
                                              lit.greenF() * k + matte.greenF() * (1 - k),
                                              lit.blueF() * k + matte.blueF() * (1 - k));
            const qreal angle = qDegreesToRadians(-90.0 + dot * 360.0 / kDots);
            p.setBrush(c);
            p.drawEllipse(centre + QPointF(7 * qCos(angle), 7 * qSin(angle)), 1.5 + 0.8 * t,
                          1.5 + 0.8 * t);
        }
        p.end();
        frames.append(image);
    }
    return frames;
}

QList<QImage> drawArcSpinnerFrames()
{
    constexpr int kFrames = 12;
    const int size = Sprites::kBusyAnimationSize;
    QList<QImage> frames;
    for (int frame = 0; frame < kFrames; ++frame) {
        QImage image = blankImage(size, size);
        QPainter p(&image);
        prepare(p);
        const QRectF ring(2.5, 2.5, size - 5, size - 5);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kHoverBack, 2.6));
        p.drawEllipse(ring);
        p.setPen(QPen(kAccentLight, 2.6, Qt::SolidLine, Qt::RoundCap));
        // Qt counts angles anticlockwise; step backwards to spin clockwise.
        p.drawArc(ring, (90 - frame * 360 / kFrames) * 16, -110 * 16);
        p.end();
        frames.append(image);
    }
    return frames;
}

} // namespace Artwork
