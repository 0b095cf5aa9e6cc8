// Keyframe cut mode in the main window: a start the user settles on moves
// back to the keyframe at or before it, the slider marks the keyframes, and
// Exact mode leaves starts where they were put. The clip has a keyframe
// every 2 seconds (0, 2, 4, 6 and 8 s).
#include "convert/cutmode.h"
#include "convert/vcbottomwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "media/frameindex.h"
#include "media/probequeue.h"
#include "player/myqtimeedit.h"
#include "player/mytrimslider.h"
#include "player/videoplayerwidget.h"
#include "testsupport/testmedia.h"

#include <QHash>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr qint64 kSecond = 1000000;

// The marks as drawn: runs of columns that differ from the layer's most
// common colour, along its bottom row (where the marks cross the bar).
QList<int> DrawnTicks(MyTrimSlider* slider)
{
    QWidget* layer = slider->keyframeTickLayer();
    if (!layer->isVisible())
        return {};
    const QImage image = layer->grab().toImage();
    const int y = image.height() - 1;
    QHash<QRgb, int> counts;
    for (int x = 0; x < image.width(); ++x)
        ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    QList<int> ticks;
    bool inside = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool marked = image.pixel(x, y) != background;
        if (marked && !inside)
            ticks << x;
        inside = marked;
    }
    return ticks;
}

bool TickUnder(MyTrimSlider* slider, QWidget* handle)
{
    const int centre = handle->x() + handle->width() / 2;
    for (int x : DrawnTicks(slider)) {
        if (qAbs(x - centre) <= 1)
            return true;
    }
    return false;
}

} // namespace

class TestKeyframeMode : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    std::unique_ptr<VCMainWidget> m_window;

    QString clip() const { return m_media.filePath(QStringLiteral("gop2s.mp4")); }
    VideoPlayerWidget* panel() const { return m_window->playerPanel(); }
    MyTrimSlider* slider() const { return panel()->trimSlider(); }

    // A window as the user opens it with `mode` saved from last time, with
    // the clip added and previewed.
    VideoItemWidget* open(CutMode mode)
    {
        SaveCutMode(mode);
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            return nullptr;
        m_window->AddMediaPaths({clip()});
        if (!QTest::qWaitFor([&] { return !m_window->probeQueue()->isBusy(); }, 30000))
            return nullptr;
        const QList<VideoItemWidget*> rows = m_window->mediaList()->itemsInUse();
        return rows.size() == 1 && panel()->item() == rows.first() ? rows.first() : nullptr;
    }

    bool indexRead() const
    {
        return QTest::qWaitFor([&] { return FrameIndexCache::instance()->index(clip()).valid; },
                               30000);
    }

    // Types a time into the Start field section by section and presses Enter.
    void typeStart(const QString& seconds, const QString& milliseconds)
    {
        MyQTimeEdit* field = panel()->startField();
        field->setFocus();
        field->setSelectedSection(QDateTimeEdit::SecondSection);
        QTest::keyClicks(field, seconds);
        field->setSelectedSection(QDateTimeEdit::MSecSection);
        QTest::keyClicks(field, milliseconds);
        QTest::keyClick(field, Qt::Key_Return);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(TestMedia::RunFfmpeg({"-f", "lavfi", "-i",
                                      "testsrc2=size=320x240:rate=25:duration=10", "-c:v",
                                      "libx264", "-preset", "ultrafast", "-g", "50", "-keyint_min",
                                      "50", "-sc_threshold", "0", "-pix_fmt", "yuv420p", clip()}));
    }

    void cleanup()
    {
        m_window.reset();
        FrameIndexCache::instance()->forget(clip());
    }

    void typedStart_data()
    {
        QTest::addColumn<CutMode>("mode");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("ticks");
        QTest::newRow("keyframe") << CutMode::Keyframe << 2 * kSecond << "00:00:02.000" << 5;
        QTest::newRow("exact") << CutMode::Exact << 3300 * 1000LL << "00:00:03.300" << 0;
    }
    void typedStart()
    {
        QFETCH(CutMode, mode);
        QFETCH(qint64, start);
        QFETCH(QString, shown);
        QFETCH(int, ticks);
        VideoItemWidget* row = open(mode);
        QVERIFY(row);
        QVERIFY(indexRead());
        QTRY_COMPARE(DrawnTicks(slider()).size(), ticks);

        typeStart(QStringLiteral("03"), QStringLiteral("300"));
        QCOMPARE(row->cutStart, start);
        QCOMPARE(panel()->startField()->text(), shown);
        QCOMPARE(slider()->startValue(), start);
        QCOMPARE(row->cutEnd, row->mediaInfo.duration);
        if (ticks > 0)
            QVERIFY2(TickUnder(slider(), slider()->leftHandle()),
                     "the start handle does not stand on a keyframe mark");
    }

    // With reordered frames a copy cannot end on every frame; the end moves
    // back to where the result will really end, and the field says so.
    void typedEndWithReorderedFrames()
    {
        const QString reordered = m_media.filePath(QStringLiteral("bframes.mp4"));
        QVERIFY(TestMedia::RunFfmpeg(
            {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=10", "-c:v", "libx264",
             "-preset", "veryfast", "-bf", "3", "-g", "50", "-pix_fmt", "yuv420p", reordered}));
        SaveCutMode(CutMode::Keyframe);
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
        m_window->AddMediaPaths({reordered});
        QTRY_VERIFY_WITH_TIMEOUT(FrameIndexCache::instance()->index(reordered).valid, 30000);
        VideoItemWidget* row = panel()->item();
        QVERIFY(row);
        MyQTimeEdit* field = panel()->endField();
        field->setFocus();
        field->setSelectedSection(QDateTimeEdit::SecondSection);
        QTest::keyClicks(field, QStringLiteral("07"));
        field->setSelectedSection(QDateTimeEdit::MSecSection);
        QTest::keyClicks(field, QStringLiteral("700"));
        QTest::keyClick(field, Qt::Key_Return);

        const FrameIndex index = FrameIndexCache::instance()->index(reordered);
        QVERIFY2(row->cutEnd <= 7700 * 1000LL && row->cutEnd > 7500 * 1000LL,
                 qPrintable(QString::number(row->cutEnd)));
        const auto clean = std::find_if(
            index.cleanEnds.begin(), index.cleanEnds.end(),
            [&](const FrameIndex::CleanEnd& c) { return c.end - index.startTime == row->cutEnd; });
        QVERIFY2(clean != index.cleanEnds.end(), "the end is not where a copy can end");
        QCOMPARE(field->microseconds() / 1000, row->cutEnd / 1000);
        FrameIndexCache::instance()->forget(reordered);
    }

    void switchingModeFromTheBottomBar()
    {
        VideoItemWidget* row = open(CutMode::Exact);
        QVERIFY(row);
        QVERIFY(indexRead());
        typeStart(QStringLiteral("05"), QStringLiteral("100"));
        QCOMPARE(row->cutStart, 5100 * 1000LL);

        emit m_window->bottomBar()->cutModeChanged(CutMode::Keyframe);
        QCOMPARE(row->cutStart, 4 * kSecond);
        QCOMPARE(panel()->startField()->text(), QStringLiteral("00:00:04.000"));
        QCOMPARE(DrawnTicks(slider()).size(), 5);

        emit m_window->bottomBar()->cutModeChanged(CutMode::Exact);
        QCOMPARE(DrawnTicks(slider()).size(), 0);
        typeStart(QStringLiteral("07"), QStringLiteral("500"));
        QCOMPARE(row->cutStart, 7500 * 1000LL);
    }

    // Rows that are not on preview are snapped as well, so that every row
    // shows what a keyframe cut of it keeps.
    void rowsNotOnPreviewSnapToo()
    {
        QVERIFY(open(CutMode::Exact));
        QVERIFY(indexRead());
        m_window->AddMediaPaths({clip()});
        QTRY_COMPARE_WITH_TIMEOUT(m_window->mediaList()->itemsInUse().size(), 2, 30000);
        const QList<VideoItemWidget*> rows = m_window->mediaList()->itemsInUse();
        VideoItemWidget* second = rows.first() == panel()->item() ? rows.last() : rows.first();
        QVERIFY(second != panel()->item());
        second->cutStart = 5300 * 1000LL;
        second->cutEnd = 9 * kSecond;
        second->UpdateCutInfo();

        m_window->bottomBar()->setCutMode(CutMode::Keyframe);
        QCOMPARE(second->cutStart, 4 * kSecond);
        QCOMPARE(second->cutEnd, 9 * kSecond);
        m_window->bottomBar()->setCutMode(CutMode::Exact);
    }

    // A start set before the file's keyframes are known moves once they are.
    void snapsWhenTheIndexArrives()
    {
        VideoItemWidget* row = open(CutMode::Keyframe);
        QVERIFY(row);
        QVERIFY(indexRead());
        FrameIndexCache::instance()->forget(clip());
        typeStart(QStringLiteral("06"), QStringLiteral("900"));
        QCOMPARE(row->cutStart, 6900 * 1000LL);

        FrameIndexCache::instance()->request(clip());
        QTRY_COMPARE_WITH_TIMEOUT(row->cutStart, 6 * kSecond, 30000);
        QCOMPARE(panel()->startField()->text(), QStringLiteral("00:00:06.000"));
    }

    void draggedHandleSnapsOnRelease()
    {
        VideoItemWidget* row = open(CutMode::Keyframe);
        QVERIFY(row);
        QTRY_COMPARE_WITH_TIMEOUT(DrawnTicks(slider()).size(), 5, 30000);
        QWidget* handle = slider()->leftHandle();
        QWindow* window = m_window->windowHandle();
        const QPoint from = handle->mapTo(m_window.get(), handle->rect().center());
        // Just past the middle of the 10-second bar: 5 s and a bit.
        const int x = slider()->handleWidth() / 2 + slider()->trackLength() * 53 / 100;
        const QPoint to(slider()->mapTo(m_window.get(), QPoint(x, 0)).x(), from.y());
        QTest::mousePress(window, Qt::LeftButton, {}, from);
        QTest::mouseMove(window, (from + to) / 2);
        QTest::mouseMove(window, to);
        QVERIFY(slider()->startValue() > 5 * kSecond);
        QTest::mouseRelease(window, Qt::LeftButton, {}, to);

        QCOMPARE(row->cutStart, 4 * kSecond);
        QCOMPARE(slider()->startValue(), 4 * kSecond);
        QCOMPARE(panel()->startField()->text(), QStringLiteral("00:00:04.000"));
        QVERIFY(TickUnder(slider(), handle));
    }
};

QTEST_MAIN(TestKeyframeMode)
#include "test_keyframemode.moc"
