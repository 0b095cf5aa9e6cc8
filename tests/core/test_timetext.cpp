#include "app/timetext.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <limits>

class TestTimeText : public QObject
{
    Q_OBJECT

private slots:
    void timeToString_data();
    void timeToString();
    void sizeToString_data();
    void sizeToString();
    void sizeToStringIgnoresNumericLocale();
    void clockToSeconds_data();
    void clockToSeconds();
    void clockToMicroseconds_data();
    void clockToMicroseconds();
    void timeOfDay_data();
    void timeOfDay();
    void microsecondsToTimeOfDayOutOfRange();
    void waitNotPositiveReturnsAtOnce();
    void waitProcessesEventsUntilTimeIsUp();
};

void TestTimeText::timeToString_data()
{
    QTest::addColumn<qint64>("microseconds");
    QTest::addColumn<QString>("expected");

    QTest::newRow("negative") << qint64(-5) << "00:00:00.000";
    QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "00:00:00.000";
    QTest::newRow("all fields, sub-ms dropped") << qint64(3'723'456'789) << "01:02:03.456";
    QTest::newRow("hour minus 1 ms") << qint64(3'599'999'000) << "00:59:59.999";
    QTest::newRow("100 hours") << qint64(360'000'000'000) << "100:00:00.000";
    // Hours beyond the range of a 32-bit integer still print in full.
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "2562047788:00:54.775";
}

void TestTimeText::timeToString()
{
    QFETCH(qint64, microseconds);
    QTEST(TimeToString(microseconds), "expected");
    // What is printed reads back to the same millisecond.
    if (microseconds > 0 && microseconds < 1'000'000'000'000)
        QCOMPARE(ClockToMicroseconds(TimeToString(microseconds)), microseconds / 1000 * 1000);
}

void TestTimeText::sizeToString_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("1023") << qint64(1023) << "1023 bytes";
    QTest::newRow("1024") << qint64(1024) << "1.00 KB";
    QTest::newRow("unit before rounding KB") << qint64(1'048'575) << "1024.00 KB";
    QTest::newRow("1 M") << qint64(1'048'576) << "1.00 M";
    QTest::newRow("1.5 G") << qint64(1'610'612'736) << "1.50 G";
    QTest::newRow("most negative")
        << std::numeric_limits<qint64>::min() << "-9223372036854775808 bytes";
    // Exact ties round to even, as printf("%.02f") does: 1.125 and 1.375.
    QTest::newRow("tie rounds down to even") << qint64(1152) << "1.12 KB";
    QTest::newRow("tie rounds up to even") << qint64(1408) << "1.38 KB";
    // Whole KB are scaled, the remainder dropped first: 1152 KB and 1023
    // bytes is exactly 1.125 M, a tie, where the unrounded value prints 1.13.
    QTest::newRow("M drops remainder") << qint64(1'180'671) << "1.12 M";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "8589934592.00 G";
}

void TestTimeText::sizeToString()
{
    QFETCH(qint64, bytes);
    QTEST(SizeToString(bytes), "expected");
}

void TestTimeText::sizeToStringIgnoresNumericLocale()
{
    const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
    bool found = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name)) {
            found = true;
            break;
        }
    }
    if (!found)
        QSKIP("no locale with a decimal comma is installed");
    const QString text = SizeToString(1'610'612'736);
    std::setlocale(LC_NUMERIC, previous.constData());
    QCOMPARE(text, QStringLiteral("1.50 G"));
}

void TestTimeText::clockToSeconds_data()
{
    QTest::addColumn<QString>("clock");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("H:M:S") << "01:02:03" << qint64(3723);
    QTest::newRow("M:S") << "02:03" << qint64(123);
    QTest::newRow("one field") << "5" << qint64(0);
    QTest::newRow("four fields") << "1:2:3:4" << qint64(0);
    QTest::newRow("not a number counts 0") << "1:x:3" << qint64(3603);
    QTest::newRow("fraction is not an integer") << "00:01:05.25" << qint64(60);
    QTest::newRow("overflow gives 0") << "999999999999999999:0:0" << qint64(0);
}

void TestTimeText::clockToSeconds()
{
    QFETCH(QString, clock);
    QTEST(ClockToSeconds(clock), "expected");
}

void TestTimeText::clockToMicroseconds_data()
{
    QTest::addColumn<QString>("clock");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("all fields") << "01:02:03.456" << qint64(3'723'456'000);
    QTest::newRow("two digits are hundredths") << "00:01:02.03" << qint64(62'030'000);
    QTest::newRow("one digit is tenths") << "00:01:02.5" << qint64(62'500'000);
    QTest::newRow("comma, spaces") << "  00: 01 :02, 500 \t" << qint64(62'500'000);
    QTest::newRow("no fraction") << "00:01:02" << qint64(0);
    QTest::newRow("two clock fields") << "01:02.500" << qint64(0);
    QTest::newRow("more than three digits") << "00:01:02.123456" << qint64(62'123'000);
    QTest::newRow("fraction not a number") << "00:01:02.ab" << qint64(62'000'000);
    QTest::newRow("two points") << "00:01:02.5.0" << qint64(0);
    QTest::newRow("N/A") << "N/A" << qint64(0);
    QTest::newRow("overflow gives 0") << "9999999999999:00:00.000" << qint64(0);
}

void TestTimeText::clockToMicroseconds()
{
    QFETCH(QString, clock);
    QTEST(ClockToMicroseconds(clock), "expected");
}

void TestTimeText::timeOfDay_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("midnight") << QTime(0, 0) << qint64(0);
    QTest::newRow("all fields") << QTime(1, 2, 3, 456) << qint64(3'723'456'000);
    QTest::newRow("last millisecond") << QTime(23, 59, 59, 999) << qint64(86'399'999'000);
    QTest::newRow("null time") << QTime() << qint64(0);
    QTest::newRow("invalid time") << QTime(25, 0) << qint64(0);
}

void TestTimeText::timeOfDay()
{
    QFETCH(QTime, time);
    QFETCH(qint64, expected);
    QCOMPARE(TimeOfDayToMicroseconds(time), expected);
    if (time.isValid())
        QCOMPARE(MicrosecondsToTimeOfDay(expected + 999), time);
}

void TestTimeText::microsecondsToTimeOfDayOutOfRange()
{
    QCOMPARE(MicrosecondsToTimeOfDay(-5'000'000), QTime(0, 0));
    QCOMPARE(MicrosecondsToTimeOfDay(std::numeric_limits<qint64>::min()), QTime(0, 0));
    QVERIFY(!MicrosecondsToTimeOfDay(86'400'000'000).isValid());
    QVERIFY(!MicrosecondsToTimeOfDay(std::numeric_limits<qint64>::max()).isValid());
}

void TestTimeText::waitNotPositiveReturnsAtOnce()
{
    bool ran = false;
    QMetaObject::invokeMethod(
        this, [&ran] { ran = true; }, Qt::QueuedConnection);
    WaitWithEvents(0);
    WaitWithEvents(std::numeric_limits<int>::min());
    // Nothing to wait for, so not even the pending event is handled.
    QVERIFY(!ran);
    QCoreApplication::processEvents(); // drain the posted call before `ran` goes away
    QVERIFY(ran);
}

void TestTimeText::waitProcessesEventsUntilTimeIsUp()
{
    bool queuedRan = false;
    bool lateTimerFired = false;
    QMetaObject::invokeMethod(
        this, [&queuedRan] { queuedRan = true; }, Qt::QueuedConnection);
    // Fires after several rounds, so events are handled through the whole wait.
    QTimer::singleShot(220, this, [&lateTimerFired] { lateTimerFired = true; });

    QElapsedTimer clock;
    clock.start();
    WaitWithEvents(300);
    const qint64 elapsed = clock.elapsed();

    // The wait is measured on an elapsed timer, so it never ends early.
    QVERIFY2(elapsed >= 300, qPrintable(QString::number(elapsed)));
    QVERIFY(queuedRan);
    QVERIFY(lateTimerFired);
}

QTEST_GUILESS_MAIN(TestTimeText)
#include "test_timetext.moc"
