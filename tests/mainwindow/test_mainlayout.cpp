// Where the main window's panels stand, and how windows are centred.
#include "mainwindow/mainlayout.h"

#include <QtTest>

class TestMainLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void panels_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<float>("s");
        QTest::addColumn<QRect>("topBar");
        QTest::addColumn<QRect>("mediaList");
        QTest::addColumn<QRect>("playerPanel");
        QTest::addColumn<QRect>("bottomBar");
        QTest::addColumn<QRect>("overlay");
        // Edges as given: left, top, right, bottom (inclusive).
        auto edges = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); };
        QTest::newRow("scale 1") << 1202 << 752 << 1.0f << edges(1, 1, 1200, 94)
                                 << edges(0, 95, 625, 627) << edges(626, 95, 1201, 627)
                                 << edges(0, 628, 1201, 751) << edges(0, 34, 1201, 751);
        // 144 DPI on a 1920 x 1080 desktop.
        const float s = 1536.0f / 1202.0f;
        QTest::newRow("scale 1.278") << 1536 << 961 << s << edges(1, 1, 1534, 69 + 51)
                                     << edges(0, 121, 1535 - 736, 961 - 158 - 1)
                                     << edges(1536 - 736, 121, 1535, 961 - 158 - 1)
                                     << edges(0, 961 - 158, 1535, 960) << edges(0, 43, 1535, 960);

        // Maximised on a 1920 x 1050 work area: list and picture share the
        // extra 718 pixels, the bars keep their heights.
        QTest::newRow("wider and taller")
            << 1920 << 1050 << 1.0f << edges(1, 1, 1918, 94) << edges(0, 95, 984, 925)
            << edges(985, 95, 1919, 925) << edges(0, 926, 1919, 1049) << edges(0, 34, 1919, 1049);
    }

    void panels()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(float, s);
        const MainLayout layout = ComputeMainLayout(w, h, s);
        QTEST(layout.topBar, "topBar");
        QTEST(layout.mediaList, "mediaList");
        QTEST(layout.playerPanel, "playerPanel");
        QTEST(layout.bottomBar, "bottomBar");
        QTEST(layout.progressOverlay, "overlay");
        QCOMPARE(layout.background, QRect(0, 0, w, h));
        // The list and the player meet without a gap or an overlap.
        QCOMPARE(layout.mediaList.right() + 1, layout.playerPanel.left());
    }

    void resizeEdges_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("edges");
        QTest::newRow("inside") << QPoint(600, 400) << 0;
        QTest::newRow("right edge") << QPoint(1199, 400) << int(Qt::RightEdge);
        QTest::newRow("just inside the margin") << QPoint(1195, 400) << int(Qt::RightEdge);
        QTest::newRow("just past the margin") << QPoint(1194, 400) << 0;
        QTest::newRow("bottom-left corner") << QPoint(2, 749) << int(Qt::LeftEdge | Qt::BottomEdge);
        QTest::newRow("top edge") << QPoint(600, 0) << int(Qt::TopEdge);
        QTest::newRow("outside") << QPoint(1200, 400) << 0;
    }
    void resizeEdges()
    {
        QFETCH(QPoint, point);
        QTEST(int(ResizeEdgesAt(QSize(1200, 750), point, 5)), "edges");
    }

    void centring_data()
    {
        QTest::addColumn<QSize>("desktop");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("fits") << QSize(1920, 1060) << QSize(1202, 752) << QPoint(359, 154);
        QTest::newRow("odd remainder dropped")
            << QSize(1921, 1061) << QSize(1202, 752) << QPoint(359, 154);
        // Larger than the desktop: still at a non-negative position.
        QTest::newRow("taller than desktop")
            << QSize(640, 460) << QSize(601, 700) << QPoint(19, 120);
    }

    void centring()
    {
        QFETCH(QSize, desktop);
        QFETCH(QSize, window);
        QFETCH(QPoint, expected);
        QCOMPARE(
            CenteredOnDesktop(desktop.width(), desktop.height(), window.width(), window.height()),
            expected);
    }

    void centredOverHost()
    {
        QCOMPARE(CenteredOver(QRect(100, 50, 1202, 752), QSize(480, 252)), QPoint(461, 300));
        QCOMPARE(CenteredOver(QRect(0, 0, 101, 101), QSize(10, 10)), QPoint(45, 45));
    }
};

QTEST_APPLESS_MAIN(TestMainLayout)
#include "test_mainlayout.moc"
