// The window as a keyboard user and a user of a large screen meet it (Xvfb):
// each key of the window and of its dialogs, and a window that grows.
#include "app/settings.h"
#include "convert/vcbottomwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "mainwindow/vctopwidget.h"
#include "media/addfilesdialog.h"
#include "media/probequeue.h"
#include "player/myqtimeedit.h"
#include "player/mytrimslider.h"
#include "player/videoplayerwidget.h"
#include "skin/scale.h"
#include "testsupport/testmedia.h"
#include "testsupport/urlcatcher.h"
#include "widgets/focusring.h"
#include "widgets/mymessagedialog.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestKeyboard : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    std::unique_ptr<VCMainWidget> m_window;

    VideoPlayerWidget* panel() const { return m_window->playerPanel(); }
    VideoListWidget* list() const { return m_window->mediaList(); }
    qint64 playhead() const { return panel()->trimSlider()->currentValue(); }
    // Where the keyboard sends it: to the widget that has the focus.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : m_window.get(), key, modifiers);
    }
    // Paused, on the first row, the playhead at the start.
    void pausedAtStart()
    {
        if (panel()->isPlaying())
            key(Qt::Key_Space);
        QVERIFY(!panel()->isPlaying());
        key(Qt::Key_Home);
        QCOMPARE(playhead(), 0);
    }

private slots:
    void initTestCase()
    {
        TestMedia::UseBuildAppFolder();
        QVERIFY(TestMedia::MakeClip(m_media.filePath(QStringLiteral("a.mp4")), 3.0));
        QVERIFY(TestMedia::MakeClip(m_media.filePath(QStringLiteral("b.mp4")), 2.0));
        QDir().mkpath(m_media.filePath(QStringLiteral("out")));
        WriteSetting(QStringLiteral("DefaultOutputFolder"),
                     m_media.filePath(QStringLiteral("out")));
    }

    void init()
    {
        m_window = std::make_unique<VCMainWidget>();
        m_window->move(50, 50);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // Xvfb runs no window manager to hand the focus over.
        m_window->activateWindow();
        QApplication::setActiveWindow(m_window.get());
        QTRY_VERIFY(m_window->isActiveWindow());
        // The keyboard starts on the list, not on the first button.
        QTRY_COMPARE(QApplication::focusWidget(), m_window->mediaList()->scrollArea());
        m_window->AddMediaPaths(
            {m_media.filePath(QStringLiteral("a.mp4")), m_media.filePath(QStringLiteral("b.mp4"))});
        QTRY_COMPARE_WITH_TIMEOUT(list()->itemCount(), 2, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->probeQueue()->isBusy(), 30000);
        QTRY_VERIFY(panel()->item() == list()->itemsInUse().first());
    }

    void cleanup()
    {
        SetOpenFilesDialog({});
        m_window.reset();
    }

    void spaceTogglesThePreview()
    {
        const bool playing = panel()->isPlaying();
        key(Qt::Key_Space);
        QCOMPARE(panel()->isPlaying(), !playing);
        key(Qt::Key_Space);
        QCOMPARE(panel()->isPlaying(), playing);
    }

    void arrowsStepThePlayhead_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<qint64>("moved");
        QTest::newRow("right: one frame at 25 fps") << int(Qt::Key_Right) << 0 << qint64(40000);
        QTest::newRow("shift+right: one second")
            << int(Qt::Key_Right) << int(Qt::ShiftModifier) << qint64(1000000);
        QTest::newRow("left at the start stays") << int(Qt::Key_Left) << 0 << qint64(0);
    }
    void arrowsStepThePlayhead()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        pausedAtStart();
        this->key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTEST(playhead(), "moved");
        // And back by the same step.
        if (playhead() > 0) {
            this->key(Qt::Key_Left, Qt::KeyboardModifiers(modifiers));
            QCOMPARE(playhead(), 0);
        }
    }

    void arrowsLeaveAFocusedTimeFieldAlone()
    {
        pausedAtStart();
        panel()->startField()->setFocus();
        QTRY_VERIFY(panel()->startField()->hasFocus());
        key(Qt::Key_Right);
        key(Qt::Key_Up);
        QCOMPARE(playhead(), 0);
        QCOMPARE(list()->selectedItem(), list()->itemsInUse().first());
    }

    void marksAndRangeEnds()
    {
        pausedAtStart();
        VideoItemWidget* row = list()->itemsInUse().first();
        key(Qt::Key_Right, Qt::ShiftModifier);
        key(Qt::Key_I);
        QCOMPARE(row->cutStart, 1000000);
        key(Qt::Key_Right, Qt::ShiftModifier);
        key(Qt::Key_Right);
        key(Qt::Key_O);
        QCOMPARE(row->cutEnd, 2040000);
        key(Qt::Key_Home);
        QCOMPARE(playhead(), 1000000);
        key(Qt::Key_End);
        QCOMPARE(playhead(), 2040000);
    }

    void rowsByKeyboard()
    {
        const QList<VideoItemWidget*> rows = list()->itemsInUse();
        key(Qt::Key_Down);
        QCOMPARE(list()->selectedItem(), rows.at(1));
        QCOMPARE(panel()->item(), rows.at(1));
        key(Qt::Key_Down); // already the last
        QCOMPARE(list()->selectedItem(), rows.at(1));
        key(Qt::Key_Up);
        QCOMPARE(list()->selectedItem(), rows.at(0));
        key(Qt::Key_Delete);
        QCOMPARE(list()->itemCount(), 1);
        QCOMPARE(list()->selectedItem(), rows.at(1));
        QCOMPARE(panel()->item(), rows.at(1));
    }

    void ctrlOAddsFiles()
    {
        int asked = 0;
        SetOpenFilesDialog([&](QWidget*, const QString&, const QString&, const QString&) {
            ++asked;
            return QStringList{m_media.filePath(QStringLiteral("b.mp4"))};
        });
        key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(asked, 1);
        QTRY_COMPARE_WITH_TIMEOUT(list()->itemCount(), 3, 30000);
    }

    void f1OpensTheHelp()
    {
        UrlCatcher catcher;
        key(Qt::Key_F1);
        QCOMPARE(catcher.opened.size(), 1);
        QVERIFY(catcher.opened.first().toLocalFile().endsWith("/help/EN/index.html"));
    }

    void ctrlEnterJoinsAndEnterAnswers()
    {
        const QDir out(m_media.filePath(QStringLiteral("out")));
        const int before = int(out.entryList(QDir::Files).size());
        // The result dialog runs its own loop; it is answered from inside it.
        QString answered;
        bool openFolder = true;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            for (MyMessageDialog* dialog : m_window->findChildren<MyMessageDialog*>()) {
                if (dialog->isVisible()) {
                    answered = dialog->messageLabel()->text();
                    // Enter closes; opening the folder takes its own button.
                    QTest::keyClick(dialog, Qt::Key_Return);
                    openFolder = dialog->result();
                }
            }
        });
        answer.start(50);
        key(Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(m_window->bottomBar()->isConverting());
        QTRY_VERIFY_WITH_TIMEOUT(!answered.isEmpty(), 60000);
        QCOMPARE(answered, QStringLiteral("Join Completed."));
        QVERIFY(!openFolder);
        QTRY_VERIFY(!m_window->bottomBar()->isConverting());
        const QStringList results = out.entryList(QDir::Files);
        QCOMPARE(int(results.size()), before + 1);
        const double seconds = TestMedia::DurationSeconds(m_window->bottomBar()->outputFile());
        QVERIFY2(qAbs(seconds - 5.0) < 0.2, qPrintable(QString::number(seconds)));
    }

    void tabWalksTheControlsInReadingOrder()
    {
        QWidget* first = m_window->topBar()->feedbackButton();
        first->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(first->hasFocus());
        QList<QWidget*> visited{first};
        for (int i = 0; i < 30 && visited.size() < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            if (now == first)
                break;
            visited << now;
        }
        const QList<QWidget*> landmarks{m_window->topBar()->feedbackButton(),
                                        m_window->topBar()->addButton(),
                                        panel()->startField(),
                                        panel()->setStartButton(),
                                        m_window->bottomBar()->exactModeButton(),
                                        m_window->bottomBar()->startButton()};
        qsizetype last = -1;
        for (QWidget* landmark : landmarks) {
            const qsizetype at = visited.indexOf(landmark);
            QVERIFY2(at > last, landmark->metaObject()->className());
            last = at;
        }
        // The button that has the keyboard shows it.
        QWidget* add = m_window->topBar()->addButton();
        add->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(add->hasFocus());
        auto* ring = add->findChild<FocusRing*>();
        QVERIFY(ring && ring->isVisible() && ring->geometry() == add->rect());
        m_window->bottomBar()->startButton()->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(!ring->isVisible());
    }

    void spaceOnAFocusedButtonPressesIt()
    {
        const bool playing = panel()->isPlaying();
        QWidget* keyframe = m_window->bottomBar()->keyframeModeButton();
        keyframe->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(keyframe->hasFocus());
        key(Qt::Key_Space);
        QCOMPARE(m_window->bottomBar()->cutMode(), CutMode::Keyframe);
        // The key pressed the button and did not also play or pause.
        QCOMPARE(panel()->isPlaying(), playing);
        m_window->bottomBar()->exactModeButton()->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(m_window->bottomBar()->exactModeButton()->hasFocus());
        key(Qt::Key_Return);
        QCOMPARE(m_window->bottomBar()->cutMode(), CutMode::Exact);
    }

    void dialogKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("ok");
        QTest::newRow("Enter presses OK") << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter too") << int(Qt::Key_Enter) << true;
        QTest::newRow("Escape cancels") << int(Qt::Key_Escape) << false;
    }
    void dialogKeys()
    {
        QFETCH(int, key);
        MyMessageDialog dialog(m_window.get());
        dialog.setupMessage(QStringLiteral("Remove the row?"));
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key(key));
        QVERIFY(!dialog.isVisible());
        QTEST(dialog.result(), "ok");
    }

    void windowGrowsAndShrinksToItsDesign()
    {
        const QRect list = this->list()->geometry();
        const QRect picture = panel()->pictureArea()->geometry();
        const int topHeight = m_window->topBarArea().height();
        const int bottomHeight = m_window->bottomBarArea().height();
        m_window->resize(m_window->width() + 400, m_window->height() + 200);
        QTRY_COMPARE(m_window->width(), 1602);
        // The list and the picture take the room; the bars keep their heights.
        QCOMPARE(this->list()->width(), list.width() + 200);
        QCOMPARE(this->list()->height(), list.height() + 200);
        QCOMPARE(panel()->pictureArea()->width(), picture.width() + 200);
        QCOMPARE(panel()->pictureArea()->height(), picture.height() + 200);
        QCOMPARE(m_window->topBarArea().height(), topHeight);
        QCOMPARE(m_window->bottomBarArea().height(), bottomHeight);

        // Never below the design size on a screen that holds it.
        m_window->resize(600, 400);
        QTRY_COMPARE(m_window->size(), QSize(Scaled(1202), Scaled(752)));
    }

    void rightEdgeDragResizes()
    {
        const QRect before = m_window->geometry();
        QWidget* edgeChild = m_window->childAt(m_window->width() - 2, m_window->height() / 2);
        QVERIFY(edgeChild);
        const QPoint at = edgeChild->mapFrom(m_window.get(),
                                             QPoint(m_window->width() - 2, m_window->height() / 2));
        QTest::mousePress(edgeChild, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseMove(edgeChild, at + QPoint(150, 0));
        QTest::mouseRelease(edgeChild, Qt::LeftButton, Qt::NoModifier, at + QPoint(150, 0));
        QTRY_COMPARE(m_window->width(), before.width() + 150);
        QCOMPARE(m_window->x(), before.x());
    }

    void doubleClickOnTheTopStripMaximises()
    {
        QVERIFY(!m_window->isMaximized());
        QTest::mouseDClick(m_window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(600, 15));
        QTRY_VERIFY(m_window->isMaximized());
        QTest::mouseDClick(m_window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(600, 15));
        QTRY_VERIFY(!m_window->isMaximized());
        // Below the strip a double click is only a double click.
        QTest::mouseDClick(m_window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(600, 300));
        QTest::qWait(100);
        QVERIFY(!m_window->isMaximized());
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
