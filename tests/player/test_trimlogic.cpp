#include "player/picturerect.h"
#include "player/trimlogic.h"

#include <QTest>

#include <limits>
#include <optional>

using namespace TrimLogic;

Q_DECLARE_METATYPE(std::optional<qint64>)

namespace {

// Slider 600 pixels wide at scale 1: handle 10, half 5, track 590, playhead
// half 2. The range of 59 s makes one pixel exactly 0.1 s.
constexpr qint64 kMax = 59000000;
const TrimGeometry kG = TrimGeometry::ForWidth(600);
constexpr std::optional<qint64> kNoItem;

} // namespace

class TestTrimLogic : public QObject
{
    Q_OBJECT

private slots:
    void pictureRect_data()
    {
        QTest::addColumn<QSize>("video");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("wide in 4:3")
            << QSize(1920, 1080) << QSize(640, 480) << QRect(0, 60, 640, 360);
        QTest::newRow("tall in wide")
            << QSize(1080, 1920) << QSize(640, 480) << QRect(185, 0, 270, 480);
        QTest::newRow("no area") << QSize(640, 360) << QSize(0, 0) << QRect(0, 0, 0, 0);
    }
    void pictureRect()
    {
        QFETCH(QSize, video);
        QFETCH(QSize, area);
        QFETCH(QRect, rect);
        QCOMPARE(PictureRect(video.width(), video.height(), area.width(), area.height()), rect);
    }

    void degenerate()
    {
        // Empty range or track: no division by zero, everything at the start.
        QCOMPARE(ValueToPixel(5, 0, 0, 590), 0);
        QCOMPARE(ValueToPixel(5, 0, kMax, 0), 0);
        QCOMPARE(PixelToValue(5, 0, 0, 590), qint64(0));
        QCOMPARE(PixelToValue(5, 0, kMax, 0), qint64(0));
        // Extreme values saturate instead of overflowing.
        const qint64 big = std::numeric_limits<qint64>::max();
        QCOMPARE(ValueToPixel(big, 0, 1, 590), std::numeric_limits<int>::max());
        QCOMPARE(PixelToValue(590, 0, big, 590), big);
        QCOMPARE(NormalizeCutRange(big, big, kNoItem).end, big);
    }

    void roundTrip()
    {
        const int track = kG.trackLength();
        for (int x = 0; x <= track; ++x)
            QCOMPARE(ValueToPixel(PixelToValue(x, 0, kMax, track), 0, kMax, track), x);
        // With a range that is no multiple of the track, a value comes back no
        // later than itself and less than a pixel early.
        const qint64 odd = 60000000;
        for (qint64 v = 0; v <= odd; v += 123457) {
            const qint64 back = PixelToValue(ValueToPixel(v, 0, odd, track), 0, odd, track);
            QVERIFY2(back <= v && v - back < odd / track + 1, qPrintable(QString::number(v)));
        }
    }

    void writeBack_data()
    {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("end");
        QTest::addColumn<std::optional<qint64>>("duration");
        QTest::addColumn<qint64>("wantStart");
        QTest::addColumn<qint64>("wantEnd");
        const std::optional<qint64> d60 = qint64(60000000);
        QTest::newRow("equal") << qint64(3000000) << qint64(3000000) << d60 << qint64(3000000)
                               << qint64(3500000);
        QTest::newRow("start at duration")
            << qint64(60000000) << qint64(60000000) << d60 << qint64(59500000) << qint64(60000000);
        QTest::newRow("end past duration")
            << qint64(1000000) << qint64(70000000) << d60 << qint64(1000000) << qint64(60000000);
        QTest::newRow("tiny file") << qint64(0) << qint64(0) << std::optional<qint64>(300000)
                                   << qint64(0) << qint64(300000);
        QTest::newRow("no item") << qint64(70000000) << qint64(0) << kNoItem << qint64(70000000)
                                 << qint64(70500000);
    }
    void writeBack()
    {
        QFETCH(qint64, start);
        QFETCH(qint64, end);
        QFETCH(std::optional<qint64>, duration);
        QFETCH(qint64, wantStart);
        QFETCH(qint64, wantEnd);
        const CutRange r = NormalizeCutRange(start, end, duration);
        QCOMPARE(r.start, wantStart);
        QCOMPARE(r.end, wantEnd);
    }

    void setStartAndEndFromPlayhead()
    {
        // The start stays half a second before the end, and never below zero.
        QCOMPARE(StartFromPlayhead(5000000, 20000000), qint64(5000000));
        QCOMPARE(StartFromPlayhead(10000000, 10300000), qint64(9800000));
        QCOMPARE(StartFromPlayhead(10000000, 400000), qint64(0));
        // The end stays half a second after the start, within the duration if known.
        const std::optional<qint64> d60 = qint64(60000000);
        QCOMPARE(EndFromPlayhead(1200000, 1000000, d60), qint64(1500000));
        QCOMPARE(EndFromPlayhead(61000000, 0, d60), qint64(60000000));
        QCOMPARE(EndFromPlayhead(61000000, 0, kNoItem), qint64(61000000));
    }
};

QTEST_APPLESS_MAIN(TestTrimLogic)
#include "test_trimlogic.moc"
