// The top bar: where its children sit, when "Clear All" shows, what its
// commands tell the main window, and that closing ends stray players.
#include "mainwindow/vctopwidget.h"
#include "media/addfilesdialog.h"
#include "skin/scale.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestTopBar : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    VCTopWidget* m_bar = nullptr;

private Q_SLOTS:
    void init()
    {
        SetScaleFactor(1.0f);
        m_window = std::make_unique<QWidget>();
        m_window->resize(1200, 752);
        m_bar = new VCTopWidget(m_window.get());
        m_bar->setGeometry(0, 0, 1200, 94);
        m_bar->LayoutChildren();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        SetOpenFilesDialog({});
        m_window.reset();
    }

    void layoutAtScaleOne_data()
    {
        QTest::addColumn<QString>("child");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("close") << "close" << QRect(1166, 8, 24, 24);
        QTest::newRow("minimise") << "minimise" << QRect(1122, 8, 24, 24);
        QTest::newRow("add") << "add" << QRect(18, 49, 98, 33);
        QTest::newRow("clear") << "clear" << QRect(131, 49, 98, 33);
        QTest::newRow("version") << "version" << QRect(1025, 42, 160, 20);
        QTest::newRow("strip") << "strip" << QRect(0, 40, 1200, 54);
        QTest::newRow("logo") << "logo" << QRect(5, 5, 26, 26);
        QTest::newRow("title") << "title" << QRect(36, 2, 360, 30);
    }
    void layoutAtScaleOne()
    {
        QFETCH(QString, child);
        QFETCH(QRect, expected);
        const QMap<QString, QWidget*> children{
            {"close", m_bar->closeButton()},    {"minimise", m_bar->minimiseButton()},
            {"add", m_bar->addButton()},        {"clear", m_bar->clearButton()},
            {"version", m_bar->versionLabel()}, {"strip", m_bar->commandStrip()},
            {"logo", m_bar->logoLabel()},       {"title", m_bar->titleLabel()}};
        QWidget* widget = children.value(child);
        // In the top bar's coordinates, whatever the widget's parent.
        const QRect actual(widget->mapTo(m_bar, QPoint(0, 0)), widget->size());
        QCOMPARE(actual, expected);
    }

    void texts()
    {
        QCOMPARE(m_bar->titleLabel()->text(), QString("Tarnwick Framewright"));
        QCOMPARE(m_bar->versionLabel()->text(), QString("Ver: 2.0.54"));
        QCOMPARE(m_bar->addButton()->text(), QString("Add Files"));
        QCOMPARE(m_bar->clearButton()->text(), QString("Clear All"));
        QVERIFY(m_bar->titleLabel()->styleSheet().startsWith("QLabel{font-size:14px;color:#"));
        QCOMPARE(m_bar->versionLabel()->styleSheet(),
                 QString("QLabel{font-size:10px;color:#a3a3a5;}"));
        QCOMPARE(m_bar->addButton()->normalStyleSheet(),
                 QString("QLabel{font-size:14px;font-weight:500;color:#FFFFFF;"
                         "background-color:#2a3137;border:0px solid #50616B;}"));
        QVERIFY(!m_bar->logoLabel()->pixmap().isNull());
        QVERIFY(!m_bar->addButton()->iconLabel()->pixmap().isNull());
        QVERIFY(!m_bar->clearButton()->iconLabel()->pixmap().isNull());
        QVERIFY(m_bar->closeButton()->usesSharedSprite());
        QCOMPARE(m_bar->closeButton()->stateRect(MyPushButton::Normal), QRect(48, 192, 48, 48));
        QCOMPARE(m_bar->minimiseButton()->stateRect(MyPushButton::Disabled), QRect(0, 240, 48, 48));
    }

    void onlyTheStripShowsATopLine()
    {
        const QImage image = m_bar->grab().toImage();
        const QColor line = image.pixelColor(600, 40);
        const QColor background = image.pixelColor(600, 60);
        QVERIFY(line != background);
        // The labels inside the strip must not inherit the line.
        const QRect version(m_bar->versionLabel()->mapTo(m_bar, QPoint(0, 0)),
                            m_bar->versionLabel()->size());
        QCOMPARE(image.pixelColor(version.right() - 1, version.top()), background);
    }

    void clearAllFollowsTheRowCount_data()
    {
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<bool>("visible");
        QTest::newRow("first row") << QList<int>{1} << true;
        QTest::newRow("several") << QList<int>{3} << true;
        QTest::newRow("emptied") << QList<int>{2, 0} << false;
        QTest::newRow("added again") << QList<int>{2, 0, 1} << true;
        QTest::newRow("none") << QList<int>{0} << false;
    }
    void clearAllFollowsTheRowCount()
    {
        QFETCH(QList<int>, counts);
        QFETCH(bool, visible);
        QVERIFY(!m_bar->clearButton()->isVisible()); // hidden until there are rows
        QSignalSpy start(m_bar, &VCTopWidget::startEnabledChanged);
        for (int count : counts)
            m_bar->RefreshButtons(count);
        QCOMPARE(m_bar->clearButton()->isVisible(), visible);
        QCOMPARE(start.count(), counts.size());
        QCOMPARE(start.last().first().toBool(), visible);
    }

    void addFilesHandsOnTheChosenMedia()
    {
        QWidget* dialogParent = nullptr;
        SetOpenFilesDialog([&](QWidget* parent, const QString&, const QString&, const QString&) {
            dialogParent = parent;
            return QStringList{"/x/V/b.mkv", "/x/V/notes.txt", "/x/V/-a 'ü'.mp4"};
        });
        QSignalSpy chosen(m_bar, &VCTopWidget::filesChosen);
        QTest::mouseClick(m_bar->addButton(), Qt::LeftButton);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toStringList(),
                 (QStringList{"/x/V/b.mkv", "/x/V/-a 'ü'.mp4"}));
        QCOMPARE(dialogParent, m_bar);
    }

    void addFilesCancelledHandsOnNothing()
    {
        int calls = 0;
        SetOpenFilesDialog([&](QWidget*, const QString&, const QString&, const QString&) {
            ++calls;
            return QStringList();
        });
        QSignalSpy chosen(m_bar, &VCTopWidget::filesChosen);
        QTest::mouseClick(m_bar->addButton(), Qt::LeftButton);
        QCOMPARE(calls, 1);
        QCOMPARE(chosen.count(), 0);
    }

    void clearAllAsksToEmptyTheList()
    {
        m_bar->RefreshButtons(2);
        QSignalSpy cleared(m_bar, &VCTopWidget::clearAllRequested);
        QTest::mouseClick(m_bar->clearButton(), Qt::LeftButton);
        QCOMPARE(cleared.count(), 1);
    }

    void minimiseMinimisesTheWindow()
    {
        QTest::mouseClick(m_bar->minimiseButton(), Qt::LeftButton);
        QTRY_VERIFY(m_window->windowState() & Qt::WindowMinimized);
    }

    void closeEndsPlayersAndClosesTheWindow()
    {
        // A stand-in player: the sleep program under the player's name.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString player = dir.filePath("ffplay");
        QVERIFY(QFile::copy("/bin/sleep", player));
        QProcess process;
        process.start(player, {"30"});
        QVERIFY(process.waitForStarted());

        QTest::mouseClick(m_bar->closeButton(), Qt::LeftButton);
        QTRY_COMPARE(process.state(), QProcess::NotRunning);
        QCOMPARE(process.exitStatus(), QProcess::CrashExit); // ended, not finished
        QVERIFY(!m_window->isVisible());
    }
};

QTEST_MAIN(TestTopBar)
#include "test_topbar.moc"
