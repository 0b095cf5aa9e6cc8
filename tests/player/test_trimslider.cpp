// The trim slider as the user meets it: 600 pixels wide at scale 1 over a
// range of 59 seconds (in microseconds), driven by real mouse events through
// the window so that presses on the handles and the playhead reach the slider
// the way they do on screen.
#include "player/mytrimslider.h"
#include "skin/scale.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {
constexpr qint64 kMax = 59000000;
// The slider sits this far into its window so drags may leave it on both sides.
constexpr int kOffset = 200;
constexpr int kBarY = 11;    // on the bar, inside the playhead's band
constexpr int kHandleY = 25; // on the handles, below the playhead
} // namespace

class TestTrimSlider : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    MyTrimSlider* m_slider = nullptr;
    QStringList m_events;

    void press(int x, int y)
    {
        QTest::mousePress(m_window->windowHandle(), Qt::LeftButton, {}, QPoint(kOffset + x, y));
    }
    void move(int x, int y) { QTest::mouseMove(m_window->windowHandle(), QPoint(kOffset + x, y)); }
    void release(int x, int y)
    {
        QTest::mouseRelease(m_window->windowHandle(), Qt::LeftButton, {}, QPoint(kOffset + x, y));
    }
    void dragFrom(int fromX, int y, int toX)
    {
        press(fromX, y);
        move((fromX + toX) / 2, y);
        move(toX, y);
        release(toX, y);
    }

private Q_SLOTS:
    void init()
    {
        SetScaleFactor(1.0f);
        m_window = std::make_unique<QWidget>();
        m_window->resize(1100, 60);
        m_slider = new MyTrimSlider(m_window.get());
        m_slider->setSliderGeometry(kOffset, 0, 600, 35);
        // As the panel loads a whole 59-second file.
        m_slider->setRange(0, kMax);
        m_slider->setCurrentValue(0);
        m_slider->setStartValue(0);
        m_slider->setEndValue(kMax, true);
        m_events.clear();
        const std::pair<void (MyTrimSlider::*)(), const char*> signalNames[] = {
            {&MyTrimSlider::trimPresssed, "pressed"},
            {&MyTrimSlider::trimReleased, "released"},
            {&MyTrimSlider::startHandleReleased, "start released"},
            {&MyTrimSlider::trimValueChanged, "trim"},
            {&MyTrimSlider::CurrentValueChanged, "changed"},
            {&MyTrimSlider::CurrentValueChanged2, "moving"}};
        for (const auto& [signal, name] : signalNames) {
            connect(m_slider, signal, this, [this, n = QString(name)] { m_events << n; });
        }
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    // Values set from outside are clamped into the range, place their handle
    // and report nothing.
    void setters()
    {
        m_slider->setCurrentValue(-7);
        QCOMPARE(m_slider->currentValue(), qint64(0));
        QCOMPARE(m_slider->playhead()->x(), 5);
        m_slider->setStartValue(-1);
        QCOMPARE(m_slider->startValue(), qint64(0));
        QCOMPARE(m_slider->leftHandle()->x(), 2);
        m_slider->setEndValue(29500000, true);
        QCOMPARE(m_slider->rightHandle()->x(), 298);
        m_slider->setEndValue(29500000, false);
        QCOMPARE(m_slider->rightHandle()->x(), 293);
        // The kept stretch runs between the handles.
        QCOMPARE(m_slider->trimStretch()->x(), 2 + 5);
        QCOMPARE(m_slider->trimStretch()->width(), 293 - 2);
        m_slider->setEndValue(kMax * 2, false);
        QCOMPARE(m_slider->endValue(), kMax);
        QCOMPARE(m_slider->rightHandle()->x(), 588);
        QVERIFY(m_events.isEmpty());
    }

    void clickOnBar_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("edge");
        QTest::addColumn<qint64>("current");
        QTest::newRow("near the left end") << 3 << 5 << qint64(500000);
        // The playhead's pixels reach past the track; its value stays in range.
        QTest::newRow("right end") << 599 << 595 << kMax;
    }
    void clickOnBar()
    {
        QFETCH(int, x);
        QFETCH(int, edge);
        QFETCH(qint64, current);
        press(x, kBarY);
        release(x, kBarY);
        QCOMPARE(m_slider->playhead()->x(), edge);
        QCOMPARE(m_slider->currentValue(), current);
        QCOMPARE(m_events, QStringList({"released", "changed"}));

        // A second click on the same spot moves nothing and reports nothing.
        m_events.clear();
        press(x, kBarY);
        release(x, kBarY);
        QCOMPARE(m_slider->currentValue(), current);
        QVERIFY(!m_events.contains("changed"));
    }

    void movedClickOnBarIsNoClick()
    {
        press(300, kBarY);
        move(310, kBarY);
        release(310, kBarY);
        QCOMPARE(m_slider->currentValue(), qint64(0));
        QCOMPARE(m_slider->playhead()->x(), 5);
        QCOMPARE(m_events, QStringList({"released"}));
    }

    void drag_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("toX");
        QTest::addColumn<int>("edge");
        QTest::addColumn<qint64>("current");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("end");
        QTest::addColumn<QStringList>("events");
        const QStringList moving{"pressed", "moving", "moving", "changed", "released"};
        const QStringList trimming{"pressed", "trim", "trim", "changed", "released"};
        // The start's own release comes first, so a snapped start can still
        // move the playhead before "changed" reports it.
        const QStringList starting{"pressed",        "trim",    "trim",
                                   "start released", "changed", "released"};
        QTest::newRow("playhead forward")
            << "playhead" << 400 << 400 << qint64(40000000) << qint64(0) << kMax << moving;
        // The playhead's pixels reach past the track; its value stays in range.
        QTest::newRow("playhead past the right end")
            << "playhead" << 850 << 595 << kMax << qint64(0) << kMax << moving;
        // Stops half a handle before the right handle's edge (588).
        QTest::newRow("start past the end handle")
            << "left" << 850 << 580 << qint64(58300000) << qint64(58300000) << kMax << starting;
        // Pixel 595 stands for 59.5 s: the end stays at the maximum.
        QTest::newRow("end past the right end")
            << "right" << 850 << 588 << kMax << qint64(0) << kMax << trimming;
        // Stops half a handle after the left handle's edge (2).
        QTest::newRow("end past the start handle")
            << "right" << -150 << 5 << qint64(700000) << qint64(0) << qint64(700000) << trimming;
    }
    void drag()
    {
        QFETCH(QString, button);
        QFETCH(int, toX);
        QFETCH(int, edge);
        QFETCH(qint64, current);
        QFETCH(qint64, start);
        QFETCH(qint64, end);
        QFETCH(QStringList, events);
        m_slider->setCurrentValue(29500000);
        QWidget* dragged = button == "playhead" ? m_slider->playhead()
                           : button == "left"   ? m_slider->leftHandle()
                                                : m_slider->rightHandle();
        // Pressed in its middle: the playhead above the handles' band.
        const int y = button == "playhead" ? 5 : kHandleY;
        dragFrom(dragged->x() + dragged->width() / 2, y, toX);
        QCOMPARE(dragged->x(), edge);
        QCOMPARE(m_slider->currentValue(), current);
        QCOMPARE(m_slider->startValue(), start);
        QCOMPARE(m_slider->endValue(), end);
        QVERIFY(m_slider->leftHandle()->x() < m_slider->rightHandle()->x());
        // The end of a drag is reported before the release.
        QCOMPARE(m_events, events);
    }

    // Each keyframe mark stands where the start handle's middle is when the
    // start holds that keyframe; a mark per pixel column at most.
    void keyframeMarks_data()
    {
        QTest::addColumn<QList<qint64>>("times");
        QTest::addColumn<int>("columns");
        QTest::newRow("none") << QList<qint64>() << 0;
        QTest::newRow("at the start") << QList<qint64>{0} << 1;
        QTest::newRow("spread") << QList<qint64>{0, 2000000, 31000000, 57500000} << 4;
        QList<qint64> everyMillisecond;
        for (qint64 t = 0; t <= kMax; t += 1000)
            everyMillisecond << t;
        // -1: as many as the bar has columns, give or take the handle's ends.
        QTest::newRow("every millisecond") << everyMillisecond << -1;
    }
    void keyframeMarks()
    {
        QFETCH(QList<qint64>, times);
        QFETCH(int, columns);
        const int widgets = int(m_slider->findChildren<QWidget*>().size());
        m_slider->setKeyframeTicks(times);
        QCOMPARE(int(m_slider->findChildren<QWidget*>().size()), widgets);
        QWidget* layer = m_slider->keyframeTickLayer();
        QCOMPARE(layer->isVisible(), columns != 0);
        if (columns == 0)
            return;
        const QImage image = layer->grab().toImage();
        const int y = image.height() - 1;
        const QRgb plain = image.pixel(image.width() - 1, y);
        int marked = 0;
        for (int x = 0; x < image.width(); ++x)
            marked += image.pixel(x, y) != plain ? 1 : 0;
        if (columns > 0) {
            QCOMPARE(marked, columns);
        } else {
            QVERIFY(marked <= m_slider->trackLength() + 1);
            QVERIFY(marked >= m_slider->trackLength() - m_slider->handleWidth());
        }
        for (qint64 t : times.mid(0, 4)) {
            m_slider->setStartValue(t);
            QWidget* handle = m_slider->leftHandle();
            QVERIFY2(image.pixel(handle->x() + handle->width() / 2, y) != plain,
                     qPrintable(QString::number(t)));
        }
        QVERIFY(m_events.isEmpty());
    }

    void emptyRange()
    {
        // No file gives a range of zero width; nothing may divide by it.
        m_slider->setRange(0, 0);
        m_slider->setCurrentValue(5);
        m_slider->setEndValue(5, true);
        QCOMPARE(m_slider->currentValue(), qint64(0));
        QCOMPARE(m_slider->endValue(), qint64(0));
        press(300, kBarY);
        release(300, kBarY);
        QCOMPARE(m_slider->currentValue(), qint64(0));
        QCOMPARE(m_events, QStringList({"released"}));
    }
};

QTEST_MAIN(TestTrimSlider)
#include "test_trimslider.moc"
