#include "app/settings.h"
#include "skin/skinpalette.h"

#include <QColor>
#include <QSettings>
#include <QTest>

#include <climits>

namespace {

// The untinted palette the windows were designed against.
const QList<QPair<QString, QString>> kBase = {
    {"leftbgcolor", "#2a3137"},
    {"rightbgcolor", "#161b1f"},
    {"company_color", "#feffff"},
    {"txtcolor_main", "#feffff"},
    {"txtcolor_main2", "#f8fdff"},
    {"txtcolor_main3", "#f8fdff"},
    {"linecolor", "#080b10"},
    {"linecolor_select", "#3d4751"},
    {"dlprogress_color", "#0477d4"},
    {"dlprogress_bgcolor", "#4f5f6f"},
    {"trimslider_bgcolor", "#787878"},
    {"trimslider_lightcolor", "#007adf"},
    {"trimslider_trimcolor", "#007adf"},
    {"item_selectbgcolor", "#3d4751"},
};

} // namespace

class TestSkinPalette : public QObject
{
    Q_OBJECT

private slots:
    void instanceUsesDefaultShift();
    void shiftHueMovesHueOnly_data();
    void shiftHueMovesHueOnly();
    void shiftHueExact_data();
    void shiftHueExact();
    void paletteShifts_data();
    void paletteShifts();
    void lookupByKey();
};

void TestSkinPalette::instanceUsesDefaultShift()
{
    // No value left by an earlier run: the built-in default applies.
    OpenSettings()->remove(QStringLiteral("SkincolorDxy"));
    SkinPalette* palette = SkinPalette::instance();
    QCOMPARE(palette->hueShift(), -6);
    QCOMPARE(palette->colorOf("dlprogress_color"), ShiftHue("#0477d4", -6));
}

void TestSkinPalette::shiftHueMovesHueOnly_data()
{
    QTest::addColumn<QString>("colour");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("expectedHue");

    // #0078d7: hue = 60 * (4 - 120/215) = 206.5.
    QTest::newRow("default shift") << "#0078d7" << -6 << 200;
    QTest::newRow("lands on 360, pinned") << "#0078d7" << 154 << 359;
    QTest::newRow("largest int pinned") << "#0078d7" << INT_MAX << 359;
    QTest::newRow("smallest int pinned") << "#0078d7" << INT_MIN << 0;
}

void TestSkinPalette::shiftHueMovesHueOnly()
{
    QFETCH(QString, colour);
    QFETCH(int, shift);
    QFETCH(int, expectedHue);

    const QColor before(colour);
    const QColor after(ShiftHue(colour, shift));
    QVERIFY2(qAbs(after.hsvHue() - expectedHue) <= 1, qPrintable(after.name()));
    QVERIFY(qAbs(after.value() - before.value()) <= 1);
    QVERIFY(qAbs(after.hsvSaturation() - before.hsvSaturation()) <= 1);
}

void TestSkinPalette::shiftHueExact_data()
{
    QTest::addColumn<QString>("colour");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("expected");

    // Greys have hue -1: it becomes 0 or the shift, and without saturation
    // the grey stays as it was.
    QTest::newRow("grey, default shift") << "#555555" << -6 << "#555555";
    QTest::newRow("pinned at hue 0") << "#0078d7" << -1000 << "#D70000";
    QTest::newRow("alpha dropped, upper case") << "#80ff00ff" << 0 << "#FF00FF";
    QTest::newRow("none with spaces unchanged") << "none  " << -6 << "none  ";
    QTest::newRow("not a colour unchanged") << "#12345z" << 30 << "#12345z";
}

void TestSkinPalette::shiftHueExact()
{
    QFETCH(QString, colour);
    QFETCH(int, shift);
    QFETCH(QString, expected);
    QCOMPARE(ShiftHue(colour, shift), expected);
}

void TestSkinPalette::paletteShifts_data()
{
    QTest::addColumn<int>("shift");
    QTest::newRow("none") << 0;
    QTest::newRow("large positive") << 5000;
}

void TestSkinPalette::paletteShifts()
{
    QFETCH(int, shift);
    const SkinPalette palette(shift);
    QCOMPARE(palette.hueShift(), shift);
    for (const auto& [key, base] : kBase)
        QCOMPARE(palette.colorOf(key), ShiftHue(base, shift));
}

void TestSkinPalette::lookupByKey()
{
    const SkinPalette palette(-6);
    const QString left = ShiftHue("#2a3137", -6);
    QCOMPARE(palette.colorOf("leftbgcolor"), left);
    QCOMPARE(palette.colorOf("no_such_key"), left);
    QCOMPARE(palette.colorOf(QString()), left);
    QCOMPARE(palette.colorOf("TRIMSLIDER_TRIMCOLOR"), ShiftHue("#007adf", -6));
}

QTEST_GUILESS_MAIN(TestSkinPalette)
#include "tst_skinpalette.moc"
