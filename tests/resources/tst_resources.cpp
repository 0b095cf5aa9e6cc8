// The compiled-in pictures against the region table: regions lie on their
// sheets without overlapping, each shows a real picture, button states differ,
// and the stand-alone pictures and animations load.

#include "resources/rawsheet.h"
#include "resources/spriteregions.h"
#include "widgets/sprites.h"

#include <QImage>
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

// A picture is legible when a fair part of it is drawn (at least a quarter
// opaque) and it has contrast, against transparency or within itself.
void verifyLegible(const QImage& image, const QString& what)
{
    QVERIFY2(!image.isNull(), qPrintable(what + QStringLiteral(" is missing")));
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int visible = 0, minAlpha = 255, maxAlpha = 0, minLuma = 255, maxLuma = 0;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const int a = qAlpha(argb.pixel(x, y));
            const int luma = qGray(argb.pixel(x, y)) * a / 255; // as shown over black
            visible += a >= 64 ? 1 : 0;
            minAlpha = std::min(minAlpha, a);
            maxAlpha = std::max(maxAlpha, a);
            minLuma = std::min(minLuma, luma);
            maxLuma = std::max(maxLuma, luma);
        }
    }
    QVERIFY2(visible * 50 >= argb.width() * argb.height(), qPrintable(what + " is nearly empty"));
    QVERIFY2(std::max(maxAlpha - minAlpha, maxLuma - minLuma) >= 64,
             qPrintable(what + " is a flat picture"));
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

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void sheetLoads_data();
    void sheetLoads();
    void programReadsTheSamePixels_data();
    void programReadsTheSamePixels();
    void damagedRawSheetIsRefused_data();
    void damagedRawSheetIsRefused();
    void regionNamesAreUnique();
    void region_data();
    void region();
    void regionsShowDifferentPictures();
    void buttonStatesDiffer();
    void standalonePicture_data();
    void standalonePicture();
    void pairedPicturesDiffer();
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
    const QImage& image = loadSheet(sheet);
    QVERIFY2(!image.isNull(), "the sheet is not among the compiled-in resources");
    QCOMPARE(image.size(), QSize(info.width, info.height));
    QVERIFY2(image.hasAlphaChannel(), "the sheet must be transparent where nothing is drawn");
    // Ink outside every region would mean a picture was drawn in the wrong
    // place or spilt over its edge, where no window will ever show it.
    QImage covered(image.size(), QImage::Format_Mono);
    covered.fill(0);
    for (const Sprites::Region& r : Sprites::kRegions) {
        if (r.sheet == sheet)
            for (int y = r.y; y < r.y + r.height; ++y)
                for (int x = r.x; x < r.x + r.width; ++x)
                    covered.setPixel(x, y, 1);
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (covered.pixelIndex(x, y) == 0 && qAlpha(image.pixel(x, y)) != 0)
                QFAIL(qPrintable(QStringLiteral("stray ink at (%1, %2)").arg(x).arg(y)));
        }
    }
}

void TestResources::programReadsTheSamePixels_data()
{
    sheetLoads_data();
}

// The program reads the unpacked copy; a copy that went stale or a reader
// that slips a row would put the wrong picture on every button.
void TestResources::programReadsTheSamePixels()
{
    QFETCH(Sprites::Sheet, sheet);
    const QImage used = (sheet == Sprites::Sheet::Public ? PublicSprite() : Public4kSprite())
                            .toImage()
                            .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(used.size(), loadSheet(sheet).size());
    QVERIFY2(used == loadSheet(sheet), "the sheet in use differs from the drawn picture");
}

void TestResources::damagedRawSheetIsRefused_data()
{
    QTest::addColumn<int>("cut");    // bytes missing at the end
    QTest::addColumn<int>("flipAt"); // a header byte changed, -1 none
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("whole") << 0 << -1 << 8 << true;
    QTest::newRow("one byte short") << 1 << -1 << 8 << false;
    QTest::newRow("header only") << 8 * 4 * 4 << -1 << 8 << false;
    QTest::newRow("other magic") << 0 << 0 << 8 << false;
    QTest::newRow("other byte order") << 0 << 4 << 8 << false;
    QTest::newRow("other width than expected") << 0 << -1 << 9 << false;
}

void TestResources::damagedRawSheetIsRefused()
{
    QFETCH(int, cut);
    QFETCH(int, flipAt);
    QFETCH(int, width);
    QFETCH(bool, accepted);
    QImage picture(8, 4, QImage::Format_ARGB32_Premultiplied);
    picture.fill(qRgba(10, 20, 30, 255));
    picture.setPixel(3, 2, qRgba(200, 100, 50, 255));
    QByteArray bytes = RawSheet::encode(picture);
    bytes.chop(cut);
    if (flipAt >= 0)
        bytes[flipAt] = char(bytes[flipAt] ^ 0x5a);
    const QImage read =
        RawSheet::decode(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size(), width, 4);
    QCOMPARE(!read.isNull(), accepted);
    if (accepted)
        QCOMPARE(read, picture);
}

void TestResources::regionNamesAreUnique()
{
    QSet<QByteArray> names;
    for (const Sprites::Region& r : Sprites::kRegions)
        names.insert(r.name);
    QVERIFY(!names.contains(QByteArray()));
    QCOMPARE(names.size(), qsizetype(Sprites::kRegionCount));
    QSet<QByteArray> buttons;
    for (const Sprites::ButtonSprite* button : Sprites::kButtons)
        buttons.insert(button->name);
    QCOMPARE(buttons.size(), qsizetype(Sprites::kButtonCount));
}

void TestResources::region_data()
{
    QTest::addColumn<Sprites::RegionId>("id");
    for (const Sprites::Region& r : Sprites::kRegions)
        QTest::newRow(r.name) << r.id;
}

void TestResources::region()
{
    QFETCH(Sprites::RegionId, id);
    const Sprites::Region& r = Sprites::region(id);
    QCOMPARE(r.id, id);
    const Sprites::SheetInfo& info = Sprites::sheetInfo(r.sheet);
    QVERIFY2(r.width > 0 && r.height > 0, "empty region");
    QVERIFY2(QRect(0, 0, info.width, info.height).contains(rectOf(r)), "leaves its sheet");
    // Pictures that several buttons share are one entry referred to from the
    // button table, so any overlap here is a mistake.
    for (const Sprites::Region& other : Sprites::kRegions) {
        if (other.id != id && other.sheet == r.sheet)
            QVERIFY2(
                !rectOf(r).intersects(rectOf(other)),
                qPrintable(QStringLiteral("overlaps %1").arg(QString::fromLatin1(other.name))));
    }
    verifyLegible(loadSheet(r.sheet).copy(rectOf(r)), QString::fromLatin1(r.name));
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

void TestResources::buttonStatesDiffer()
{
    // States drawn from different regions must look different; the trim
    // slider's buttons deliberately share one region for every state.
    for (const Sprites::ButtonSprite* b : Sprites::kButtons) {
        for (int s = 0; s < Sprites::kButtonStateCount; ++s) {
            for (int t = s + 1; t < Sprites::kButtonStateCount; ++t) {
                if (b->states[s] == b->states[t])
                    continue;
                const Sprites::Region& rs = Sprites::region(b->states[s]);
                const Sprites::Region& rt = Sprites::region(b->states[t]);
                const double percent = differingPercent(loadSheet(rs.sheet).copy(rectOf(rs)),
                                                        loadSheet(rt.sheet).copy(rectOf(rt)));
                QVERIFY2(percent >= 3.0, qPrintable(QStringLiteral("%1: %2 and %3 look alike")
                                                        .arg(QString::fromLatin1(b->name))
                                                        .arg(s)
                                                        .arg(t)));
            }
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
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path + QStringLiteral(" is not compiled in")));
    QCOMPARE(image.size(), size);
    verifyLegible(image, path);
}

void TestResources::pairedPicturesDiffer()
{
    // The same file twice, or an up arrow pointing down, passes every other
    // check.
    const auto arrow = [](const char* direction, int state) {
        return QImage(QStringLiteral(":/images/arrow/%1%2.png").arg(direction).arg(state));
    };
    for (int s = 1; s <= 4; ++s) {
        QVERIFY2(differingPercent(arrow("up", s), arrow("down", s)) >= 3.0, "up looks like down");
        for (int t = s + 1; t <= 4; ++t) {
            QVERIFY(differingPercent(arrow("up", s), arrow("up", t)) >= 3.0);
            QVERIFY(differingPercent(arrow("down", s), arrow("down", t)) >= 3.0);
        }
    }
    QVERIFY(differingPercent(QImage(resourcePath(Sprites::kMuteIcon)),
                             QImage(resourcePath(Sprites::kSoundIcon))) >= 3.0);
}

void TestResources::animation_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("update check") << resourcePath(Sprites::kUpdateBusyAnimation);
    QTest::newRow("progress dialog") << resourcePath(Sprites::kProgressBusyAnimation);
}

void TestResources::animation()
{
    // The windows play it through QMovie; every frame must decode, be shown
    // long enough to see, be legible and move on from the one before.
    QFETCH(QString, path);
    QMovie movie(path);
    QVERIFY2(movie.isValid(), qPrintable(path + QStringLiteral(" is not compiled in")));
    QCOMPARE(movie.loopCount(), -1); // loops for ever
    QVERIFY2(movie.frameCount() > 1, "a busy animation needs more than one frame");
    QImage previous;
    for (int i = 0; i < movie.frameCount(); ++i) {
        QVERIFY(i == 0 ? movie.jumpToFrame(0) : movie.jumpToNextFrame());
        QVERIFY2(movie.nextFrameDelay() >= 20, "frame delay missing or too short to see");
        const QImage frame = movie.currentImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(frame.size(), QSize(Sprites::kBusyAnimationSize, Sprites::kBusyAnimationSize));
        verifyLegible(frame, QStringLiteral("frame %1").arg(i));
        // Transparent round the spinner, so it sits on any panel.
        QCOMPARE(qAlpha(frame.pixel(0, 0)), 0);
        QVERIFY2(previous.isNull() || differingPercent(frame, previous) > 0.0, "frame repeats");
        previous = frame;
    }
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
