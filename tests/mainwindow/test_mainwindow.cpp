// The main window on a real X display (Xvfb, 1920 x 1080 at 96 DPI).
#include "mainwindow/vcmainwidget.h"
#ifdef Q_OS_WIN
#include "media/toolfiles.h"
#include "media/workfolder.h"
#endif
#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "testsupport/testmedia.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<VCMainWidget> m_window;

private Q_SLOTS:
    void initTestCase()
    {
        TestMedia::UseBuildAppFolder();
#ifdef Q_OS_WIN
        // Stale staged tool copies from an earlier conversion, beside a
        // thumbnail that must survive.
        QDir().mkpath(WorkFolder() + QStringLiteral("/thumb"));
        for (const QString& name : ToolFiles()) {
            QFile stale(WorkFolder() + QLatin1Char('/') + name);
            QVERIFY(stale.open(QIODevice::WriteOnly));
        }
        QFile thumb(WorkFolder() + QStringLiteral("/thumb/keep.jpg"));
        QVERIFY(thumb.open(QIODevice::WriteOnly));
        thumb.close();
#endif

        m_window = std::make_unique<VCMainWidget>();
        m_window->move(100, 100);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanupTestCase()
    {
        m_window.reset();
    }

    void sizedForTheScreen()
    {
        QCOMPARE(ScaleFactor(), 1.0f);
        QCOMPARE(m_window->size(), QSize(1202, 752));
        QVERIFY(m_window->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(m_window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    }

    void panelsLeaveRoomForTheirChildren()
    {
        QCOMPARE(m_window->topBarArea(), QRect(QPoint(1, 1), QPoint(1200, 94)));
        QCOMPARE(m_window->mediaListArea(), QRect(QPoint(0, 95), QPoint(625, 627)));
        QCOMPARE(m_window->playerPanelArea(), QRect(QPoint(626, 95), QPoint(1201, 627)));
        QCOMPARE(m_window->bottomBarArea(), QRect(QPoint(0, 628), QPoint(1201, 751)));
    }

    void panelsKeepTheirOwnColours()
    {
        // The window's white fill must not spill into the dark panels.
        const QImage shot = m_window->grab().toImage();
        const QColor topBar = shot.pixelColor(600, 20);
        QCOMPARE(topBar.name(),
                 QColor(SkinPalette::instance()->colorOf(QStringLiteral("leftbgcolor"))).name());
        const QColor list = shot.pixelColor(100, 150);
        QCOMPARE(list.name(),
                 QColor(SkinPalette::instance()->colorOf(QStringLiteral("rightbgcolor"))).name());
    }

#ifdef Q_OS_WIN
    // Only Windows stages the tool; elsewhere it runs from where it was found.
    void staleToolCopiesAreRemoved()
    {
        for (const QString& name : ToolFiles())
            QVERIFY2(!QFile::exists(WorkFolder() + QLatin1Char('/') + name), qPrintable(name));
        QVERIFY(QFile::exists(WorkFolder() + QStringLiteral("/thumb/keep.jpg")));
    }
#endif

    void draggingByTheTopStrip_data()
    {
        QTest::addColumn<int>("pressY");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("moves");
        QTest::newRow("edge of the strip") << 40 << Qt::LeftButton << true;
        QTest::newRow("below the strip") << 41 << Qt::LeftButton << false;
        QTest::newRow("right button") << 10 << Qt::RightButton << true;
    }

    void draggingByTheTopStrip()
    {
        QFETCH(int, pressY);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, moves);
        m_window->move(100, 100);
        QTRY_COMPARE(m_window->pos(), QPoint(100, 100));
        const QPoint press(300, pressY);
        QMouseEvent down(QEvent::MouseButtonPress, press, m_window->mapToGlobal(press), button,
                         button, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &down);
        const QPoint to = press + QPoint(50, 30);
        QMouseEvent move(QEvent::MouseMove, to, m_window->mapToGlobal(to), Qt::NoButton, button,
                         Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &move);
        QMouseEvent up(QEvent::MouseButtonRelease, to, m_window->mapToGlobal(to), button,
                       Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &up);
        QVERIFY(!m_window->isDragging());
        if (moves)
            QTRY_COMPARE(m_window->pos(), QPoint(150, 130));
        else
            QCOMPARE(m_window->pos(), QPoint(100, 100));
    }

    void centreOverMainWindow()
    {
        m_window->move(200, 120);
        QTRY_COMPARE(m_window->pos(), QPoint(200, 120));
        QWidget dialog;
        dialog.resize(480, 252);
        CenterOverMainWindow(&dialog);
        QCOMPARE(dialog.pos(), QPoint(200 + (1202 - 480) / 2, 120 + (752 - 252) / 2));
    }

    void fileDigest()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("installer.bin"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("some installer bytes ").repeated(5000));
        file.close();
        // md5sum is the independent judge of the digest.
        QProcess md5sum;
        md5sum.start(QStringLiteral("md5sum"), {path});
        QVERIFY(md5sum.waitForFinished(10000));
        const QString expected =
            QString::fromLatin1(md5sum.readAllStandardOutput()).section(QLatin1Char(' '), 0, 0);
        QCOMPARE(FileMd5Hex(path), expected);
        QCOMPARE(FileMd5Hex(dir.filePath(QStringLiteral("missing.bin"))), QString());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
