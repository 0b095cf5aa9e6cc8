#include "skin/scale.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestScale : public QObject
{
    Q_OBJECT

private slots:
    // Must run first: nothing has set the factor yet.
    void factorIsOneUntilSet();
    void cleanup();

    void computeScaleFactor_data();
    void computeScaleFactor();
    void scaledTruncatesTowardZero_data();
    void scaledTruncatesTowardZero();
    void unusableFactorIsNeverStored_data();
    void unusableFactorIsNeverStored();
};

void TestScale::factorIsOneUntilSet()
{
    QCOMPARE(ScaleFactor(), 1.0f);
    QCOMPARE(Scaled(1202), 1202);
    QCOMPARE(Scaled(-30), -30);
}

void TestScale::cleanup()
{
    SetScaleFactor(1.0f);
}

void TestScale::computeScaleFactor_data()
{
    QTest::addColumn<double>("dpiX");
    QTest::addColumn<double>("dpiY");
    QTest::addColumn<bool>("hasDesktop");
    QTest::addColumn<int>("desktopWidth");
    QTest::addColumn<int>("desktopHeight");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<int>("windowHeight");

    QTest::newRow("96 dpi full HD") << 96.0 << 96.0 << true << 1920 << 1080 << 1.0 << 1202 << 752;
    // 1.5 would need 1803 x 1128; 80 % of the desktop is 1536 x 864, and the
    // height decides: 864 / 752.
    QTest::newRow("144 dpi full HD")
        << 144.0 << 144.0 << true << 1920 << 1080 << 1.148936 << 1381 << 864;
    QTest::newRow("48 dpi raised before the screen test")
        << 48.0 << 48.0 << true << 1920 << 1080 << 0.5 << 601 << 376;
    QTest::newRow("192 dpi 4K clamped")
        << 192.0 << 192.0 << true << 3840 << 2160 << 1.8 << 2163 << 1353;
    // Fitted 0.426 is raised to 0.5, so the window is larger than 80 %.
    QTest::newRow("96 dpi 640x480") << 96.0 << 96.0 << true << 640 << 480 << 0.5 << 601 << 376;
    QTest::newRow("no desktop keeps density")
        << 144.0 << 144.0 << false << 640 << 480 << 1.5 << 1803 << 1128;
    QTest::newRow("smaller density decides")
        << 96.0 << 144.0 << true << 3840 << 2160 << 1.0 << 1202 << 752;
    // Exactly fitting at 80 % is not too small.
    QTest::newRow("exact fit") << 96.0 << 96.0 << true << 1503 << 940 << 1.0 << 1202 << 752;
    QTest::newRow("zero density") << 0.0 << 0.0 << true << 1920 << 1080 << 0.5 << 601 << 376;
    QTest::newRow("unknown density")
        << std::numeric_limits<double>::quiet_NaN() << std::numeric_limits<double>::quiet_NaN()
        << true << 1920 << 1080 << 1.0 << 1202 << 752;
}

void TestScale::computeScaleFactor()
{
    QFETCH(double, dpiX);
    QFETCH(double, dpiY);
    QFETCH(bool, hasDesktop);
    QFETCH(int, desktopWidth);
    QFETCH(int, desktopHeight);
    QFETCH(double, expected);
    QFETCH(int, windowWidth);
    QFETCH(int, windowHeight);

    const float s = ComputeScaleFactor(dpiX, dpiY, hasDesktop, desktopWidth, desktopHeight);
    QVERIFY2(std::abs(s - expected) < 1e-5, qPrintable(QString::number(s, 'g', 9)));
    QVERIFY(s >= kMinScaleFactor && s <= kMaxScaleFactor);

    SetScaleFactor(s);
    QCOMPARE(ScaleFactor(), s);
    QCOMPARE(Scaled(kMainWindowBaseWidth), windowWidth);
    QCOMPARE(Scaled(kMainWindowBaseHeight), windowHeight);
}

void TestScale::scaledTruncatesTowardZero_data()
{
    QTest::addColumn<float>("factor");
    QTest::addColumn<double>("constant");
    QTest::addColumn<int>("expected");

    QTest::newRow("one truncates fractions") << 1.0f << 10.9 << 10;
    QTest::newRow("1.8 drops the fraction") << 1.8f << 35.0 << 63;
    QTest::newRow("1.8 of 7 is not rounded up") << 1.8f << 7.0 << 12;
    QTest::newRow("negative truncates toward zero") << 1.8f << -7.0 << -12;
    QTest::newRow("half of minus one is zero") << 0.5f << -1.0 << 0;
}

void TestScale::scaledTruncatesTowardZero()
{
    QFETCH(float, factor);
    QFETCH(double, constant);
    QFETCH(int, expected);
    SetScaleFactor(factor);
    QCOMPARE(Scaled(constant), expected);
}

void TestScale::unusableFactorIsNeverStored_data()
{
    QTest::addColumn<float>("factor");
    QTest::newRow("nan") << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("infinity") << std::numeric_limits<float>::infinity();
    QTest::newRow("zero") << 0.0f;
}

void TestScale::unusableFactorIsNeverStored()
{
    QFETCH(float, factor);
    SetScaleFactor(1.5f);
    SetScaleFactor(factor);
    QCOMPARE(ScaleFactor(), 1.0f);
    QCOMPARE(Scaled(100), 100);
}

QTEST_APPLESS_MAIN(TestScale)
#include "tst_scale.moc"
