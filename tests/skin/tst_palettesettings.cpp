#include "app/settings.h"
#include "skin/skinpalette.h"

#include <QSettings>
#include <QTest>

namespace {
const QString kKey = QStringLiteral("SkincolorDxy");
}

class TestPaletteSettings : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void instanceReadsStoredShiftOnce();
    void readHueShift_data();
    void readHueShift();
};

void TestPaletteSettings::cleanup()
{
    OpenSettings()->remove(kKey);
}

void TestPaletteSettings::instanceReadsStoredShiftOnce()
{
    // The first use of the palette reads the store; this must be the first
    // test that touches the palette in this process.
    WriteSetting(kKey, QStringLiteral("40"));
    SkinPalette* palette = SkinPalette::instance();
    QCOMPARE(palette->hueShift(), 40);
    QCOMPARE(palette->colorOf("trimslider_trimcolor"), ShiftHue("#007adf", 40));

    // A change while running takes effect only at the next start.
    WriteSetting(kKey, QStringLiteral("-90"));
    QCOMPARE(SkinPalette::instance()->hueShift(), 40);
    QCOMPARE(SkinPalette::instance()->colorOf("trimslider_trimcolor"), ShiftHue("#007adf", 40));
    // The program never writes the key itself.
    QCOMPARE(ReadSetting(kKey), QStringLiteral("-90"));
}

void TestPaletteSettings::readHueShift_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("absent uses default") << false << QString() << -6;
    QTest::newRow("negative") << true << "-20" << -20;
    QTest::newRow("explicit plus") << true << "+7" << 7;
    QTest::newRow("surrounding spaces") << true << " 12 " << 12;
    QTest::newRow("word") << true << "blue" << 0;
    QTest::newRow("trailing garbage") << true << "12px" << 0;
    QTest::newRow("too large for int") << true << "99999999999" << 0;
}

void TestPaletteSettings::readHueShift()
{
    QFETCH(bool, stored);
    QFETCH(QString, text);
    QFETCH(int, expected);
    if (stored) {
        WriteSetting(kKey, text);
    }
    QCOMPARE(SkinPalette::ReadHueShift(), expected);
    QCOMPARE(SkinPalette::ParseHueShift(text.isNull() ? QStringLiteral("-6") : text), expected);
}

QTEST_GUILESS_MAIN(TestPaletteSettings)
#include "tst_palettesettings.moc"
