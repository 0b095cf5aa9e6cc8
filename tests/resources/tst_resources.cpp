// Checks the compiled-in pictures against the region table: every named
// region lies on its sheet, regions do not overlap, each shows a real picture,
// the button states can be told apart, and the stand-alone pictures and
// animations load as the windows expect them.

#include "resources/spriteregions.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMovie>
#include <QRect>
#include <QSet>
#include <QTest>

#include <algorithm>

Q_DECLARE_METATYPE(Sprites::RegionId)
Q_DECLARE_METATYPE(Sprites::Sheet)

namespace {

QRect rectOf(const Sprites::Region& r)
{
    return Sprites::toRect<QRect>(r);
}

QString resourcePath(const char* relative)
{
    return QStringLiteral(":/") + QString::fromLatin1(relative);
}

// Each sheet is decoded once; many checks crop from it.
const QImage& loadSheet(Sprites::Sheet sheet)
{
    static QImage sheets[Sprites::kSheetCount];
    QImage& image = sheets[static_cast<std::size_t>(sheet)];
    if (image.isNull()) {
        image = QImage(QString::fromLatin1(Sprites::sheetInfo(sheet).resourcePath))
                    .convertToFormat(QImage::Format_ARGB32);
    }
    return image;
}

// How much of a picture is drawn, and how much it varies.
struct Ink
{
    int visible = 0; // pixels at least a quarter opaque
    int minAlpha = 255;
    int maxAlpha = 0;
    int minLuma = 255; // of the colour as shown over black
    int maxLuma = 0;
};

Ink inkOf(const QImage& image)
{
    Ink ink;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = argb.pixel(x, y);
            const int a = qAlpha(p);
            const int luma = qGray(p) * a / 255;
            ink.visible += a >= 64 ? 1 : 0;
            ink.minAlpha = std::min(ink.minAlpha, a);
            ink.maxAlpha = std::max(ink.maxAlpha, a);
            ink.minLuma = std::min(ink.minLuma, luma);
            ink.maxLuma = std::max(ink.maxLuma, luma);
        }
    }
    return ink;
}

// A picture is legible when a fair part of it is drawn and it has contrast,
// either against transparency or within itself.
void verifyLegible(const QImage& image, const QString& what)
{
    QVERIFY2(!image.isNull(), qPrintable(what + QStringLiteral(" is missing")));
    const Ink ink = inkOf(image);
    const int area = image.width() * image.height();
    QVERIFY2(
        ink.visible * 50 >= area,
        qPrintable(
            QStringLiteral("%1: only %2 of %3 pixels drawn").arg(what).arg(ink.visible).arg(area)));
    const int contrast = std::max(ink.maxAlpha - ink.minAlpha, ink.maxLuma - ink.minLuma);
    QVERIFY2(contrast >= 64,
             qPrintable(QStringLiteral("%1: flat picture (contrast %2)").arg(what).arg(contrast)));
}

// Share of pixels that differ clearly in some channel, in percent.
double differingPercent(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) {
        return 100.0;
    }
    const QImage pa = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage pb = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int differing = 0;
    for (int y = 0; y < pa.height(); ++y) {
        for (int x = 0; x < pa.width(); ++x) {
            const QRgb p = pa.pixel(x, y);
            const QRgb q = pb.pixel(x, y);
            const int d =
                std::max({std::abs(qAlpha(p) - qAlpha(q)), std::abs(qRed(p) - qRed(q)),
                          std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            differing += d > 24 ? 1 : 0;
        }
    }
    return 100.0 * differing / (pa.width() * pa.height());
}

const Sprites::ButtonSprite* findButton(const QByteArray& name)
{
    for (const Sprites::ButtonSprite* button : Sprites::kButtons) {
        if (name == button->name) {
            return button;
        }
    }
    return nullptr;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void sheetLoads_data();
    void sheetLoads();
    void regionNamesAreUnique();
    void regionInsideSheet_data();
    void regionInsideSheet();
    void regionOverlapsNoOther_data();
    void regionOverlapsNoOther();
    void buttonStatesAsLaidOut_data();
    void buttonStatesAsLaidOut();
    void singlePictureAsLaidOut_data();
    void singlePictureAsLaidOut();
    void regionIsNotBlank_data();
    void regionIsNotBlank();
    void sheetIsEmptyOutsideRegions_data();
    void sheetIsEmptyOutsideRegions();
    void regionsShowDifferentPictures();
    void buttonStatesDiffer_data();
    void buttonStatesDiffer();
    void standalonePicture_data();
    void standalonePicture();
    void spinArrowStatesDiffer_data();
    void spinArrowStatesDiffer();
    void speakerIconsDiffer();
    void animation_data();
    void animation();
};

void TestResources::sheetLoads_data()
{
    QTest::addColumn<Sprites::Sheet>("sheet");
    for (const Sprites::SheetInfo& info : Sprites::kSheets) {
        QTest::newRow(info.name) << info.sheet;
    }
}

void TestResources::sheetLoads()
{
    QFETCH(Sprites::Sheet, sheet);
    const Sprites::SheetInfo& info = Sprites::sheetInfo(sheet);
    QCOMPARE(info.sheet, sheet);
    QVERIFY2(QFile::exists(QString::fromLatin1(info.resourcePath)),
             "the sheet is not among the compiled-in resources");
    const QImage& image = loadSheet(sheet);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(info.width, info.height));
    QVERIFY2(image.hasAlphaChannel(), "the sheet must be transparent where nothing is drawn");
}

void TestResources::regionNamesAreUnique()
{
    QSet<QByteArray> names;
    for (const Sprites::Region& r : Sprites::kRegions) {
        const QByteArray name(r.name);
        QVERIFY2(!name.isEmpty(), "a region without a name");
        QVERIFY2(!names.contains(name), name.constData());
        names.insert(name);
    }
    QCOMPARE(names.size(), static_cast<qsizetype>(Sprites::kRegionCount));

    QSet<QByteArray> buttons;
    for (const Sprites::ButtonSprite* button : Sprites::kButtons) {
        QVERIFY2(!buttons.contains(button->name), button->name);
        buttons.insert(button->name);
    }
}

void TestResources::regionInsideSheet_data()
{
    QTest::addColumn<Sprites::RegionId>("id");
    for (const Sprites::Region& r : Sprites::kRegions) {
        QTest::newRow(r.name) << r.id;
    }
}

void TestResources::regionInsideSheet()
{
    QFETCH(Sprites::RegionId, id);
    const Sprites::Region& r = Sprites::region(id);
    QCOMPARE(r.id, id);
    const Sprites::SheetInfo& info = Sprites::sheetInfo(r.sheet);
    QVERIFY2(r.width > 0 && r.height > 0, "empty region");
    const QRect sheet(0, 0, info.width, info.height);
    QVERIFY2(sheet.contains(rectOf(r)),
             qPrintable(QStringLiteral("(%1, %2, %3 x %4) leaves the %5 sheet of %6 x %7")
                            .arg(r.x)
                            .arg(r.y)
                            .arg(r.width)
                            .arg(r.height)
                            .arg(QString::fromLatin1(info.name))
                            .arg(info.width)
                            .arg(info.height)));
}

void TestResources::regionOverlapsNoOther_data()
{
    regionInsideSheet_data();
}

void TestResources::regionOverlapsNoOther()
{
    // Pictures that several buttons share are one entry referred to from the
    // button table, so any overlap here is a mistake.
    QFETCH(Sprites::RegionId, id);
    const Sprites::Region& r = Sprites::region(id);
    for (const Sprites::Region& other : Sprites::kRegions) {
        if (other.id == id || other.sheet != r.sheet) {
            continue;
        }
        QVERIFY2(!rectOf(r).intersects(rectOf(other)),
                 qPrintable(QStringLiteral("overlaps %1").arg(QString::fromLatin1(other.name))));
    }
}

void TestResources::buttonStatesAsLaidOut_data()
{
    // The rectangles the windows crop their button states from:
    // normal, hover, pressed, disabled.
    QTest::addColumn<Sprites::Sheet>("sheet");
    QTest::addColumn<QList<QRect>>("states");

    const auto row = [](const char* name, Sprites::Sheet sheet, QList<QRect> states) {
        QTest::newRow(name) << sheet << states;
    };
    const auto topBarRow = [](int y) {
        return QList<QRect>{QRect(48, y, 48, 48), QRect(96, y, 48, 48), QRect(144, y, 48, 48),
                            QRect(0, y, 48, 48)};
    };
    const QList<QRect> closeRow{QRect(0, 192, 48, 48), QRect(48, 192, 48, 48),
                                QRect(96, 192, 48, 48), QRect(144, 192, 48, 48)};
    const QList<QRect> formatMark{QRect(0, 288, 48, 48), QRect(48, 288, 48, 48),
                                  QRect(48, 288, 48, 48), QRect(48, 288, 48, 48)};

    row("topbar.menu", Sprites::Sheet::Public, topBarRow(0));
    row("topbar.feedback", Sprites::Sheet::Public, topBarRow(48));
    row("topbar.close", Sprites::Sheet::Public, topBarRow(192));
    row("topbar.minimise", Sprites::Sheet::Public, topBarRow(240));
    row("messagedialog.close", Sprites::Sheet::Public, closeRow);
    row("mediaitem.delete", Sprites::Sheet::Public, closeRow);
    row("mediaitem.format", Sprites::Sheet::Public, formatMark);
    row("bottombar.formatmark", Sprites::Sheet::Public, formatMark);
    row("bottombar.openfolder", Sprites::Sheet::Public4k,
        {QRect(225, 0, 32, 32), QRect(225, 32, 32, 32), QRect(225, 64, 32, 32),
         QRect(225, 96, 32, 32)});
    row("updatedialog.close", Sprites::Sheet::Public4k,
        {QRect(0, 0, 32, 32), QRect(0, 32, 32, 32), QRect(0, 64, 32, 32), QRect(0, 96, 32, 32)});
    row("trim.playhead", Sprites::Sheet::Public, QList<QRect>(4, QRect(0, 373, 10, 40)));
    row("trim.handle", Sprites::Sheet::Public, QList<QRect>(4, QRect(20, 380, 22, 32)));
}

void TestResources::buttonStatesAsLaidOut()
{
    QFETCH(Sprites::Sheet, sheet);
    QFETCH(QList<QRect>, states);
    const Sprites::ButtonSprite* button = findButton(QTest::currentDataTag());
    QVERIFY2(button, "no such button in the table");
    for (int state = 0; state < Sprites::kButtonStateCount; ++state) {
        const Sprites::Region& r = Sprites::region(button->states[state]);
        QCOMPARE(r.sheet, sheet);
        QCOMPARE(rectOf(r), states.at(state));
    }
}

void TestResources::singlePictureAsLaidOut_data()
{
    QTest::addColumn<Sprites::RegionId>("id");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("thumbnail placeholder")
        << Sprites::RegionId::ThumbnailPlaceholder << QRect(532, 0, 252, 140);
    QTest::newRow("empty-list guide") << Sprites::RegionId::ListGuide << QRect(876, 0, 350, 244);
    QTest::newRow("video icon") << Sprites::RegionId::VideoIcon << QRect(0, 345, 28, 20);
    QTest::newRow("audio icon") << Sprites::RegionId::AudioIcon << QRect(33, 345, 28, 20);
    QTest::newRow("add files icon") << Sprites::RegionId::AddFilesIcon << QRect(232, 440, 30, 30);
    QTest::newRow("clear all icon") << Sprites::RegionId::ClearAllIcon << QRect(235, 510, 30, 30);
}

void TestResources::singlePictureAsLaidOut()
{
    QFETCH(Sprites::RegionId, id);
    QFETCH(QRect, rect);
    QCOMPARE(Sprites::region(id).sheet, Sprites::Sheet::Public);
    QCOMPARE(rectOf(Sprites::region(id)), rect);
}

void TestResources::regionIsNotBlank_data()
{
    regionInsideSheet_data();
}

void TestResources::regionIsNotBlank()
{
    QFETCH(Sprites::RegionId, id);
    const Sprites::Region& r = Sprites::region(id);
    const QImage sheet = loadSheet(r.sheet);
    QVERIFY(!sheet.isNull());
    verifyLegible(sheet.copy(rectOf(r)), QString::fromLatin1(r.name));
}

void TestResources::sheetIsEmptyOutsideRegions_data()
{
    sheetLoads_data();
}

void TestResources::sheetIsEmptyOutsideRegions()
{
    // Ink outside every region would mean a picture was drawn in the wrong
    // place or spilt over its edge, where no window will ever show it.
    QFETCH(Sprites::Sheet, sheet);
    const QImage image = loadSheet(sheet);
    QVERIFY(!image.isNull());
    QImage covered(image.size(), QImage::Format_Mono);
    covered.fill(0);
    for (const Sprites::Region& r : Sprites::kRegions) {
        if (r.sheet != sheet) {
            continue;
        }
        for (int y = r.y; y < r.y + r.height; ++y) {
            for (int x = r.x; x < r.x + r.width; ++x) {
                covered.setPixel(x, y, 1);
            }
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (covered.pixelIndex(x, y) == 0 && qAlpha(image.pixel(x, y)) != 0) {
                QFAIL(qPrintable(QStringLiteral("stray ink at (%1, %2)").arg(x).arg(y)));
            }
        }
    }
}

void TestResources::regionsShowDifferentPictures()
{
    // Two regions of one size with the same picture point to a drawing put in
    // the wrong place.
    for (std::size_t i = 0; i < Sprites::kRegionCount; ++i) {
        const Sprites::Region& a = Sprites::kRegions[i];
        const QImage pa = loadSheet(a.sheet).copy(rectOf(a));
        for (std::size_t j = i + 1; j < Sprites::kRegionCount; ++j) {
            const Sprites::Region& b = Sprites::kRegions[j];
            if (a.width != b.width || a.height != b.height) {
                continue;
            }
            const QImage pb = loadSheet(b.sheet).copy(rectOf(b));
            QVERIFY2(
                differingPercent(pa, pb) >= 1.0,
                qPrintable(QStringLiteral("%1 and %2 look alike")
                               .arg(QString::fromLatin1(a.name), QString::fromLatin1(b.name))));
        }
    }
}

void TestResources::buttonStatesDiffer_data()
{
    QTest::addColumn<QByteArray>("button");
    for (const Sprites::ButtonSprite* button : Sprites::kButtons) {
        QSet<int> distinct;
        for (const Sprites::RegionId id : button->states) {
            distinct.insert(static_cast<int>(id));
        }
        // The trim slider's buttons deliberately look the same in every state.
        if (distinct.size() > 1) {
            QTest::newRow(button->name) << QByteArray(button->name);
        }
    }
}

void TestResources::buttonStatesDiffer()
{
    QFETCH(QByteArray, button);
    const Sprites::ButtonSprite* b = findButton(button);
    QVERIFY(b);
    for (int s = 0; s < Sprites::kButtonStateCount; ++s) {
        for (int t = s + 1; t < Sprites::kButtonStateCount; ++t) {
            if (b->states[s] == b->states[t]) {
                continue;
            }
            const Sprites::Region& rs = Sprites::region(b->states[s]);
            const Sprites::Region& rt = Sprites::region(b->states[t]);
            QCOMPARE(QSize(rs.width, rs.height), QSize(rt.width, rt.height));
            const QImage is = loadSheet(rs.sheet).copy(rectOf(rs));
            const QImage it = loadSheet(rt.sheet).copy(rectOf(rt));
            const double percent = differingPercent(is, it);
            QVERIFY2(percent >= 3.0,
                     qPrintable(QStringLiteral("%1 and %2 differ in %3% only")
                                    .arg(QString::fromLatin1(Sprites::kButtonStateNames[s]))
                                    .arg(QString::fromLatin1(Sprites::kButtonStateNames[t]))
                                    .arg(percent)));
        }
    }
}

void TestResources::standalonePicture_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    const QSize speaker(Sprites::kSpeakerIconSize, Sprites::kSpeakerIconSize);
    QTest::newRow("program icon") << resourcePath(Sprites::kProgramIcon)
                                  << QSize(Sprites::kProgramIconSize, Sprites::kProgramIconSize);
    QTest::newRow("combo arrow") << resourcePath(Sprites::kComboArrow)
                                 << QSize(Sprites::kComboArrowWidth, Sprites::kComboArrowHeight);
    QTest::newRow("mute") << resourcePath(Sprites::kMuteIcon) << speaker;
    QTest::newRow("sound") << resourcePath(Sprites::kSoundIcon) << speaker;
    // The time fields name these files in their style sheet; the arrows are
    // 15 x 10 there.
    for (int state = 1; state <= 4; ++state) {
        for (const char* direction : {"up", "down"}) {
            const QString name =
                QStringLiteral("%1%2.png").arg(QLatin1String(direction)).arg(state);
            QTest::newRow(qPrintable(name))
                << QStringLiteral(":/images/arrow/") + name << QSize(15, 10);
        }
    }
}

void TestResources::standalonePicture()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QVERIFY2(QFile::exists(path), qPrintable(path + QStringLiteral(" is not compiled in")));
    const QImage image(path);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
    verifyLegible(image, path);
}

void TestResources::spinArrowStatesDiffer_data()
{
    QTest::addColumn<QString>("direction");
    QTest::newRow("up") << QStringLiteral("up");
    QTest::newRow("down") << QStringLiteral("down");
}

void TestResources::spinArrowStatesDiffer()
{
    QFETCH(QString, direction);
    const QString other =
        direction == QLatin1String("up") ? QStringLiteral("down") : QStringLiteral("up");
    const auto load = [](const QString& dir, int state) {
        return QImage(QStringLiteral(":/images/arrow/%1%2.png").arg(dir).arg(state));
    };
    for (int s = 1; s <= 4; ++s) {
        const QImage a = load(direction, s);
        QVERIFY(!a.isNull());
        for (int t = s + 1; t <= 4; ++t) {
            QVERIFY2(differingPercent(a, load(direction, t)) >= 3.0,
                     qPrintable(QStringLiteral("states %1 and %2 look alike").arg(s).arg(t)));
        }
        // An up arrow that points down (or the same file twice) would pass
        // every other check.
        QVERIFY2(differingPercent(a, load(other, s)) >= 3.0, "up and down arrows look alike");
    }
}

void TestResources::speakerIconsDiffer()
{
    const QImage mute(resourcePath(Sprites::kMuteIcon));
    const QImage sound(resourcePath(Sprites::kSoundIcon));
    QVERIFY(!mute.isNull() && !sound.isNull());
    QVERIFY(differingPercent(mute, sound) >= 3.0);
}

void TestResources::animation_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("update check") << resourcePath(Sprites::kUpdateBusyAnimation);
    QTest::newRow("progress dialog") << resourcePath(Sprites::kProgressBusyAnimation);
}

void TestResources::animation()
{
    QFETCH(QString, path);
    QVERIFY2(QImageReader::supportedImageFormats().contains("gif"),
             "the toolkit's GIF reader is not installed");
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly),
             qPrintable(path + QStringLiteral(" is not compiled in")));
    const QByteArray data = file.readAll();
    QVERIFY(data.startsWith("GIF89a"));
    QVERIFY2(data.endsWith('\x3b'), "no trailer");

    // Read every frame with the reader, which reports decoding errors.
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, "gif");
    QVERIFY(reader.supportsAnimation());
    QCOMPARE(reader.loopCount(), -1); // loops for ever
    QList<QImage> frames;
    while (reader.canRead()) {
        const QImage frame = reader.read();
        QVERIFY2(!frame.isNull(), qPrintable(reader.errorString()));
        // The reader learns a frame's delay while reading it.
        QVERIFY2(reader.nextImageDelay() >= 20, "frame delay missing or too short to see");
        frames.append(frame.convertToFormat(QImage::Format_ARGB32));
    }
    QVERIFY2(frames.size() > 1, "a busy animation needs more than one frame");

    // The windows play it through QMovie, which must see the same frames.
    QMovie movie(path);
    QVERIFY(movie.isValid());
    QCOMPARE(movie.frameCount(), frames.size());
    for (int i = 0; i < frames.size(); ++i) {
        QVERIFY(i == 0 ? movie.jumpToFrame(0) : movie.jumpToNextFrame());
        QCOMPARE(movie.currentFrameNumber(), i);
        // Premultiplied, so that clear pixels compare equal whatever colour
        // they nominally carry.
        QCOMPARE(movie.currentImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 frames.at(i).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }

    for (int i = 0; i < frames.size(); ++i) {
        const QImage& frame = frames.at(i);
        const QString what = QStringLiteral("frame %1").arg(i);
        QCOMPARE(frame.size(), QSize(Sprites::kBusyAnimationSize, Sprites::kBusyAnimationSize));
        verifyLegible(frame, what);
        // Transparent round the spinner, so it sits on any panel.
        QCOMPARE(qAlpha(frame.pixel(0, 0)), 0);
        const QImage& next = frames.at((i + 1) % frames.size());
        QVERIFY2(differingPercent(frame, next) > 0.0,
                 qPrintable(what + QStringLiteral(" repeats the next one")));
    }
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
