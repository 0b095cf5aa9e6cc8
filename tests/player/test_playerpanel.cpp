// The preview panel in the real main window under a real X server, with the
// real player program: pictures move inside the panel, the time and the
// playhead follow, pause holds them, a click on the bar seeks, a file played
// to its end shows its whole length, the cut range lands in the row, and no
// player outlives its row or the window.
#include "app/appfolder.h"
#include "app/timetext.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "media/probequeue.h"
#include "player/cmyplayer.h"
#include "player/mytrimslider.h"
#include "player/videoplayerwidget.h"
#include "testsupport/testmedia.h"
#include "widgets/mypushbutton.h"

#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// A replaced or removed player is told to quit and then killed within a few
// hundred milliseconds; a loaded machine may take longer to reap it, so the
// tests allow more, which still catches a player that is never ended.
constexpr int kGoneMs = 5000;

bool ProcessGone(qint64 pid)
{
    return pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
}

// What the X server shows in the panel's picture rectangle.
QImage Picture(QWidget* video)
{
    const QPoint at = video->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, at.x(), at.y(), video->width(), video->height())
        .toImage();
}

// The number of distinct colours in a coarse sample: a black window has one.
int Colours(const QImage& image)
{
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); y += 8)
        for (int x = 0; x < image.width(); x += 8)
            seen.insert(image.pixel(x, y));
    return int(seen.size());
}

} // namespace

class TestPlayerPanel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    QTemporaryDir m_noPlayer;
    std::unique_ptr<VCMainWidget> m_window;

    VideoPlayerWidget* panel() const { return m_window->playerPanel(); }
    CMyPlayer* player() const { return panel()->player(); }
    VideoListWidget* list() const { return m_window->mediaList(); }
    bool add(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names)
            paths << m_media.filePath(name);
        const int before = list()->itemCount();
        m_window->AddMediaPaths(paths);
        return QTest::qWaitFor([&] { return !m_window->probeQueue()->isBusy(); }, 30000) &&
               list()->itemCount() == before + names.size();
    }
    bool playing() const
    {
        return QTest::qWaitFor([&] { return panel()->trimSlider()->currentValue() > 0; }, 15000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(TestMedia::MakeClip(m_media.filePath("moving.mp4"), 12.0, 640, 360, 25));
        QVERIFY(TestMedia::MakeClip(m_media.filePath("other.mp4"), 6.0, 320, 240, 25));
        QVERIFY(TestMedia::MakeClip(m_media.filePath("short.mp4"), 2.0, 320, 240, 25));
    }

    void init()
    {
        TestMedia::UseBuildAppFolder();
        m_window = std::make_unique<VCMainWidget>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void previewPlaysPausesAndSeeks()
    {
        QVERIFY(add({"moving.mp4"}));
        QCOMPARE(panel()->item(), list()->itemsInUse().first());
        QVERIFY(playing());
        QVERIFY(panel()->pauseButton()->isVisible());
        QVERIFY(!panel()->playButton()->isVisible());
        // The picture keeps the clip's 16:9 shape inside the panel.
        const QRect picture = panel()->videoWindow()->geometry();
        QVERIFY(qAbs(picture.width() * 9 - picture.height() * 16) <= 16);

        const QImage first = Picture(panel()->videoWindow());
        const qint64 before = panel()->trimSlider()->currentValue();
        const QString label = panel()->currentTimeLabel()->text();
        QTest::qWait(1000);
        const QImage second = Picture(panel()->videoWindow());
        QVERIFY2(Colours(second) > 8, "the picture area stays blank");
        QVERIFY(first != second);
        QVERIFY(panel()->trimSlider()->currentValue() > before);
        QVERIFY(panel()->currentTimeLabel()->text() != label);

        QTest::mouseClick(panel()->pauseButton(), Qt::LeftButton);
        QVERIFY(panel()->playButton()->isVisible());
        QTest::qWait(700); // answers already on their way may still land
        const qint64 held = panel()->trimSlider()->currentValue();
        const QImage still = Picture(panel()->videoWindow());
        QTest::qWait(1000);
        QCOMPARE(panel()->trimSlider()->currentValue(), held);
        QCOMPARE(Picture(panel()->videoWindow()), still);

        // A click on the bar at three quarters: the paused player jumps there.
        MyTrimSlider* slider = panel()->trimSlider();
        const int x = slider->handleWidth() / 2 + slider->trackLength() * 3 / 4;
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(x, 2));
        const qint64 target = slider->currentValue();
        QVERIFY(target > 8 * 1000000);
        QTest::mouseClick(panel()->playButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(slider->currentValue() > target, 10000);
        QVERIFY(slider->currentValue() < target + 3 * 1000000);
    }

    void playingToTheEndShowsTheWholeDuration()
    {
        QVERIFY(add({"short.mp4"}));
        const VideoItemWidget* row = list()->itemsInUse().first();
        QVERIFY(playing());
        QTRY_VERIFY_WITH_TIMEOUT(!panel()->isStarted(), 15000);
        QVERIFY(panel()->playButton()->isVisible());
        QCOMPARE(panel()->currentTimeLabel()->text(), panel()->durationLabel()->text());
        QCOMPARE(panel()->trimSlider()->currentValue(), row->mediaInfo.duration);
    }

    void cutRangeLandsInTheRow()
    {
        QVERIFY(add({"moving.mp4"}));
        VideoItemWidget* row = list()->itemsInUse().first();
        QVERIFY(playing());
        QTest::mouseClick(panel()->pauseButton(), Qt::LeftButton);
        QTest::qWait(700);
        const qint64 at = panel()->trimSlider()->currentValue();
        QTest::mouseClick(panel()->setStartButton(), Qt::LeftButton);
        QCOMPARE(row->cutStart, at);
        QCOMPARE(row->cutEnd, row->mediaInfo.duration);
        QCOMPARE(list()->totalsLabel()->text(),
                 QStringLiteral("File: 1 \t Total: ") + TimeToString(row->cutEnd - at));
        QCOMPARE(panel()->selectionLabel()->text(), TimeToString(row->cutEnd - at));
    }

    void noPlayerOutlivesItsRowOrTheWindow()
    {
        QVERIFY(add({"moving.mp4", "other.mp4"}));
        QVERIFY(playing());
        const qint64 second = player()->processId();
        QVERIFY(second > 0);
        // Selecting the other row replaces the player.
        VideoItemWidget* first = list()->itemsInUse().last();
        QVERIFY(panel()->item() != first);
        QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(panel()->item(), first);
        QTRY_VERIFY_WITH_TIMEOUT(ProcessGone(second), kGoneMs);
        QVERIFY(playing());
        const qint64 third = player()->processId();
        // Removing the previewed row ends its player.
        QTest::mouseClick(first->deleteButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(ProcessGone(third), kGoneMs);
        QVERIFY(playing());
        const qint64 last = player()->processId();
        m_window->close();
        QVERIFY(!player()->isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(ProcessGone(last), kGoneMs);
    }

    void destroyingTheWindowEndsThePlayerAtOnce()
    {
        QVERIFY(add({"other.mp4"}));
        QVERIFY(playing());
        const qint64 pid = player()->processId();
        m_window.reset();
        QVERIFY(ProcessGone(pid));
    }

    void playerThatCannotStartCanBeStartedAgain()
    {
        SetAppFolder(m_noPlayer.path());
        QVERIFY(add({"other.mp4"}));
        QTRY_VERIFY(!panel()->isStarted());
        QVERIFY(panel()->playButton()->isVisible());
        QVERIFY(!panel()->pauseButton()->isVisible());

        TestMedia::UseBuildAppFolder();
        QTest::mouseClick(panel()->playButton(), Qt::LeftButton);
        QVERIFY(panel()->isStarted());
        QVERIFY(player()->isRunning());
        QVERIFY(playing());
    }
};

QTEST_MAIN(TestPlayerPanel)
#include "test_playerpanel.moc"
