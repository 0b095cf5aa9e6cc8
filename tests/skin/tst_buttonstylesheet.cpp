#include "skin/skinpalette.h"

#include <QTest>

namespace {

// Base button colours [state][role][scheme], roles text, background, border.
const char* const kBase[3][3][5] = {
    {{"#ffffff", "#ffffff", "#ffffff", "#ffffff", "#555555"},
     {"#262c33", "#293138", "#16191e", "#0078d7", "#ffffff"},
     {"#39434d", "#778a9e", "#647585", "#0078d7", "#a5a5a5"}},
    {{"#ffffff", "#ffffff", "#ffffff", "#ffffff", "#333333"},
     {"#0076d6", "#171b1f", "#101317", "#0065c5", "#ffffff"},
     {"#005aa3", "#505e6b", "#647585", "#005aa3", "#5b5960"}},
    {{"#ffffff", "#ffffff", "#47505a", "#cccfd2", "#bbbbbb"},
     {"#39434d", "#2a3137", "#2b323c", "#505e6b", "#ffffff"},
     {"#718599", "#505e6b", "#2b323c", "#3d4752", "#bbbbbb"}},
};
constexpr int kShift = -6;

const QString kAll = "border-left:1px solid R;border-top:1px solid R;border-right:1px solid R;"
                     "border-bottom:1px solid R;";
const QString kNone = "border-left: none;border-top: none;border-right: none;border-bottom: none;";

// The expected sheet, with T, B and R standing for the shifted text,
// background and border colours of the cell.
QString Sheet(const QString& sizes, int state, int scheme, QString borders)
{
    const auto colour = [&](int role) { return ShiftHue(kBase[state][role][scheme], kShift); };
    return "QLabel{" + sizes + "color:" + colour(0) + ";background-color:" + colour(1) + ";" +
           borders.replace("R", colour(2)) + "}";
}

} // namespace

class TestButtonStyleSheet : public QObject
{
    Q_OBJECT

private slots:
    void exactSheets_data();
    void exactSheets();
};

void TestButtonStyleSheet::exactSheets_data()
{
    QTest::addColumn<QList<int>>("numbers"); // state, scheme, size, weight, radius
    QTest::addColumn<QList<bool>>("borders");
    QTest::addColumn<QString>("expected");

    const QList<bool> all{true, true, true, true};
    const QList<bool> none{false, false, false, false};
    QTest::newRow("message dialog normal") << QList<int>{0, 1, 12, 500, 0} << all
                                           << Sheet("font-size:12px;font-weight:500;", 0, 1, kAll);
    QTest::newRow("left and bottom")
        << QList<int>{0, 4, 9, 400, 0} << QList<bool>{true, false, false, true}
        << Sheet("font-size:9px;font-weight:400;", 0, 4,
                 "border-left:1px solid R;border-top: none;border-right: none;"
                 "border-bottom:1px solid R;");
    QTest::newRow("radius after weight")
        << QList<int>{0, 1, 12, 500, 3} << all
        << Sheet("font-size:12px;font-weight:500;border-radius:3px;", 0, 1, kAll);
    QTest::newRow("negative numbers omitted")
        << QList<int>{1, 0, -5, -1, -3} << none << Sheet("", 1, 0, kNone);
    QTest::newRow("state 3 draws as normal")
        << QList<int>{3, 1, 12, 500, 0} << all
        << Sheet("font-size:12px;font-weight:500;", 0, 1, kAll);
    QTest::newRow("scheme 5 uses 0") << QList<int>{1, 5, 12, 500, 0} << all
                                     << Sheet("font-size:12px;font-weight:500;", 1, 0, kAll);
}

void TestButtonStyleSheet::exactSheets()
{
    QFETCH(QList<int>, numbers);
    QFETCH(QList<bool>, borders);
    QFETCH(QString, expected);

    const SkinPalette palette(kShift);
    QCOMPARE(palette.buttonStyleSheet(numbers[0], numbers[1], numbers[2], numbers[3], numbers[4],
                                      borders[0], borders[1], borders[2], borders[3]),
             expected);
}

QTEST_APPLESS_MAIN(TestButtonStyleSheet)
#include "tst_buttonstylesheet.moc"
