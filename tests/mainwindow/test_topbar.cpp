// The top bar: where its children sit, when "Clear All" shows, what its
// commands tell the main window, that a running job locks them, and that
// closing leaves the user's own players alone.
#include "mainwindow/vctopwidget.h"
#include "media/addfilesdialog.h"
#include "skin/scale.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"

#include <QFile>
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

    void layoutAtScaleOne()
    {
        const auto placed = [this](const QWidget* widget) {
            // In the top bar's coordinates, whatever the widget's parent.
            return QRect(widget->mapTo(m_bar, QPoint(0, 0)), widget->size());
        };
        const QList<QPair<QWidget*, QRect>> expected{
            {m_bar->closeButton(), QRect(1166, 8, 24, 24)},
            {m_bar->minimiseButton(), QRect(1122, 8, 24, 24)},
            {m_bar->menuButton(), QRect(1078, 8, 24, 24)},
            {m_bar->feedbackButton(), QRect(1034, 8, 24, 24)},
            {m_bar->commandStrip(), QRect(0, 40, 1200, 54)},
            {m_bar->titleLabel(), QRect(36, 2, 360, 30)}};
        for (const auto& [widget, rect] : expected)
            QCOMPARE(placed(widget), rect);
        // The command buttons keep their design width unless a caption needs
        // more (the font here is the toolkit's fallback, a little wider).
        const QRect add = placed(m_bar->addButton());
        QCOMPARE(add.topLeft(), QPoint(18, 49));
        QCOMPARE(add.height(), 33);
        QVERIFY2(add.width() >= 98 && add.width() <= 100, qPrintable(QString::number(add.width())));
        m_bar->RefreshButtons(1);
        const QRect clear = placed(m_bar->clearButton());
        QCOMPARE(clear.topLeft(), QPoint(add.right() + 1 + 15, 49));
        QVERIFY(clear.width() >= 98 && clear.width() <= 100);
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
        QTest::newRow("emptied") << QList<int>{2, 0} << false;
        QTest::newRow("added again") << QList<int>{2, 0, 1} << true;
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

    // "Add Files" hands on the choice whole, in the dialog's order (the probe
    // tells media from the rest and says so), and a cancelled dialog hands on
    // nothing; "Clear All" asks to empty the list. During a job both look
    // disabled and do nothing; after it they act again, "Clear All" only while
    // there are rows.
    void listCommandsActExceptDuringAJob()
    {
        int asked = 0;
        QWidget* dialogParent = nullptr;
        QStringList answer{"/x/V/b.mkv", "/x/V/notes.txt", "/x/V/-a 'ü'.mp4"};
        SetOpenFilesDialog([&](QWidget* parent, const QString&, const QString&, const QString&) {
            ++asked;
            dialogParent = parent;
            return answer;
        });
        QSignalSpy chosen(m_bar, &VCTopWidget::filesChosen);
        QSignalSpy cleared(m_bar, &VCTopWidget::clearAllRequested);
        m_bar->RefreshButtons(2);
        const QList<MyTempButton5*> buttons{m_bar->addButton(), m_bar->clearButton()};
        QList<QImage> normal;
        for (MyTempButton5* button : buttons)
            normal << button->grab().toImage();
        QTest::mouseClick(m_bar->clearButton(), Qt::LeftButton);
        QCOMPARE(cleared.count(), 1);
        m_bar->RefreshButtons(0); // "Add Files" acts on an empty list too
        QTest::mouseClick(m_bar->addButton(), Qt::LeftButton);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toStringList(), answer);
        QCOMPARE(dialogParent, m_bar);

        m_bar->setJobRunning(true);
        m_bar->RefreshButtons(3); // a file that was being read when the job started
        for (int i = 0; i < buttons.size(); ++i) {
            QVERIFY(buttons[i]->isVisible());
            QVERIFY(!buttons[i]->isEnabledState());
            QVERIFY(buttons[i]->grab().toImage() != normal[i]);
            QTest::mouseClick(buttons[i], Qt::LeftButton);
        }
        QCOMPARE(asked, 1);
        QCOMPARE(chosen.count() + cleared.count(), 2);

        m_bar->setJobRunning(false);
        for (int i = 0; i < buttons.size(); ++i) {
            QVERIFY(buttons[i]->isEnabledState());
            QCOMPARE(buttons[i]->grab().toImage(), normal[i]);
            QTest::mouseClick(buttons[i], Qt::LeftButton);
        }
        QCOMPARE(asked, 2);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(cleared.count(), 2);
        answer.clear();
        QTest::mouseClick(m_bar->addButton(), Qt::LeftButton);
        QCOMPARE(asked, 3);
        QCOMPARE(chosen.count(), 2);

        m_bar->RefreshButtons(0);
        m_bar->setJobRunning(true);
        m_bar->setJobRunning(false);
        QVERIFY(!m_bar->clearButton()->isVisible());
        QVERIFY(m_bar->addButton()->isEnabledState());
    }

    void closeLeavesOtherPlayersRunning()
    {
        // A player the user started beside this program, under the player's
        // name: closing this program is no business of it.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString player = dir.filePath("ffplay");
        QVERIFY(QFile::copy("/bin/sleep", player));
        QProcess process;
        process.start(player, {"60"});
        QVERIFY(process.waitForStarted());

        QTest::mouseClick(m_bar->closeButton(), Qt::LeftButton);
        QTRY_VERIFY(!m_window->isVisible());
        // Ending by name was done before the click returned; a second is
        // ample to see such an end arrive.
        QVERIFY(!process.waitForFinished(1000));
        QCOMPARE(process.state(), QProcess::Running);
        process.kill();
        QVERIFY(process.waitForFinished());
    }
};

QTEST_MAIN(TestTopBar)
#include "test_topbar.moc"
