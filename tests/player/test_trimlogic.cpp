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
        QTest::newRow("size unknown") << QSize(0, 0) << QSize(300, 200) << QRect(50, 0, 200, 200);
        QTest::newRow("no area") << QSize(640, 360) << QSize(0, 0) << QRect(0, 0, 0, 0);
    }
    void pictureRect()
    {
        QFETCH(QSize, video);
        QFETCH(QSize, area);
        QFETCH(QRect, rect);
        QCOMPARE(PictureRect(video.width(), video.height(), area.width(), area.height()), rect);
    }

    void geometry()
    {
        QCOMPARE(kG.half(), 5);
        QCOMPARE(kG.playheadHalf(), 2);
        QCOMPARE(kG.trackLength(), 590);
    }

    void valueToPixel_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("pixel");
        QTest::newRow("start") << qint64(0) << 0;
        QTest::newRow("middle") << qint64(29500000) << 295;
        QTest::newRow("end") << kMax << 590;
        QTest::newRow("truncated") << qint64(99999) << 0;
    }
    void valueToPixel()
    {
        QFETCH(qint64, value);
        QFETCH(int, pixel);
        QCOMPARE(ValueToPixel(value, 0, kMax, kG.trackLength()), pixel);
    }

    void playhead_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("placed");
        QTest::addColumn<qint64>("value");
        QTest::newRow("click near left") << 3 << 5 << qint64(500000);
        QTest::newRow("left of slider") << -40 << 5 << qint64(500000);
        QTest::newRow("inside") << 295 << 295 << qint64(29500000);
        QTest::newRow("right of slider") << 900 << 595 << qint64(59500000);
    }
    void playhead()
    {
        QFETCH(int, x);
        QFETCH(int, placed);
        QFETCH(qint64, value);
        const int clamped = ClampPlayheadX(x, kG);
        QCOMPARE(clamped, placed);
        QCOMPARE(PlayedBarWidth(clamped, kG), placed - 5);
        QCOMPARE(PixelToValue(clamped, 0, kMax, kG.trackLength()), value);
    }

    void leftHandle_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("rightEdge");
        QTest::addColumn<int>("edge");
        QTest::newRow("start value 0") << 0 << 588 << 2;
        QTest::newRow("negative") << -7 << 588 << 2;
        QTest::newRow("inside") << 100 << 588 << 97;
        QTest::newRow("past right handle") << 700 << 588 << 583 - 5 + 2;
    }
    void leftHandle()
    {
        QFETCH(int, x);
        QFETCH(int, rightEdge);
        QFETCH(int, edge);
        const int left = LeftHandleEdge(ClampLeftHandleX(x, rightEdge, kG), kG);
        QCOMPARE(left, edge);
        const TrimStretch stretch = StretchBetween(left, rightEdge, kG);
        QCOMPARE(stretch.x, edge + 5);
        QCOMPARE(stretch.width, rightEdge - edge);
    }

    void rightHandle_data()
    {
        QTest::addColumn<qint64>("end");
        QTest::addColumn<bool>("centred");
        QTest::addColumn<int>("edge");
        QTest::newRow("max centred") << kMax << true << 588;
        QTest::newRow("max plain") << kMax << false << 588;
        QTest::newRow("half centred") << qint64(29500000) << true << 298;
        QTest::newRow("half plain") << qint64(29500000) << false << 293;
    }
    void rightHandle()
    {
        QFETCH(qint64, end);
        QFETCH(bool, centred);
        QFETCH(int, edge);
        const int x = EndHandleX(end, centred, 0, kMax, kG);
        QCOMPARE(RightHandleEdge(ClampRightHandleX(x, 2, kG), kG), edge);
    }

    void rightHandleDrag_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("leftEdge");
        QTest::addColumn<int>("placed");
        QTest::newRow("beyond right") << 600 << 2 << 595;
        QTest::newRow("before left handle") << 0 << 100 << 105;
        QTest::newRow("inside") << 300 << 2 << 300;
    }
    void rightHandleDrag()
    {
        QFETCH(int, x);
        QFETCH(int, leftEdge);
        QFETCH(int, placed);
        QCOMPARE(ClampRightHandleX(x, leftEdge, kG), placed);
    }

    void dragToFarRight()
    {
        // The end may pass the maximum; the playhead that follows it may not.
        const qint64 end = PixelToValue(ClampRightHandleX(600, 2, kG), 0, kMax, kG.trackLength());
        QCOMPARE(end, qint64(59500000));
        QCOMPARE(ClampValue(end, 0, kMax), kMax);
    }

    void clampValue_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<qint64>("clamped");
        QTest::newRow("below") << qint64(-1) << qint64(0);
        QTest::newRow("inside") << qint64(7) << qint64(7);
        QTest::newRow("above") << kMax + 1 << kMax;
    }
    void clampValue()
    {
        QFETCH(qint64, value);
        QFETCH(qint64, clamped);
        QCOMPARE(ClampValue(value, 0, kMax), clamped);
    }

    void degenerate()
    {
        // Empty range or track: no division by zero, everything at the start.
        QCOMPARE(ValueToPixel(5, 0, 0, 590), 0);
        QCOMPARE(ValueToPixel(5, 0, kMax, 0), 0);
        QCOMPARE(PixelToValue(5, 0, 0, 590), qint64(0));
        QCOMPARE(PixelToValue(5, 0, kMax, 0), qint64(0));
        QCOMPARE(TrimGeometry::ForWidth(4).trackLength(), 0);
        QCOMPARE(ClampPlayheadX(3, TrimGeometry::ForWidth(4)), 5);
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
        // With a range that is no multiple of the track, truncation in both
        // directions may lose at most one pixel.
        const qint64 odd = 60000000;
        for (int x = 0; x <= track; ++x) {
            const int back = ValueToPixel(PixelToValue(x, 0, odd, track), 0, odd, track);
            QVERIFY2(back == x || back == x - 1, qPrintable(QString::number(x)));
        }
        // A value comes back no later than itself and less than a pixel early.
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
        QTest::newRow("negative start")
            << qint64(-5) << qint64(100) << d60 << qint64(0) << qint64(100);
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

    void setStart_data()
    {
        QTest::addColumn<qint64>("current");
        QTest::addColumn<qint64>("end");
        QTest::addColumn<qint64>("start");
        QTest::newRow("free") << qint64(5000000) << qint64(20000000) << qint64(5000000);
        QTest::newRow("too near end") << qint64(10000000) << qint64(10300000) << qint64(9800000);
        QTest::newRow("end under half second") << qint64(10000000) << qint64(400000) << qint64(0);
    }
    void setStart()
    {
        QFETCH(qint64, current);
        QFETCH(qint64, end);
        QFETCH(qint64, start);
        QCOMPARE(StartFromPlayhead(current, end), start);
    }

    void setEnd_data()
    {
        QTest::addColumn<qint64>("current");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<std::optional<qint64>>("duration");
        QTest::addColumn<qint64>("end");
        const std::optional<qint64> d60 = qint64(60000000);
        QTest::newRow("free") << qint64(9000000) << qint64(1000000) << d60 << qint64(9000000);
        QTest::newRow("before start")
            << qint64(1200000) << qint64(1000000) << d60 << qint64(1500000);
        QTest::newRow("beyond duration")
            << qint64(61000000) << qint64(0) << d60 << qint64(60000000);
        QTest::newRow("no item") << qint64(61000000) << qint64(0) << kNoItem << qint64(61000000);
    }
    void setEnd()
    {
        QFETCH(qint64, current);
        QFETCH(qint64, start);
        QFETCH(std::optional<qint64>, duration);
        QFETCH(qint64, end);
        QCOMPARE(EndFromPlayhead(current, start, duration), end);
    }
};

QTEST_APPLESS_MAIN(TestTrimLogic)
#include "test_trimlogic.moc"
