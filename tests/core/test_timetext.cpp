#include "app/timetext.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <ctime>
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
    void timeToStringRoundTrip_data();
    void timeToStringRoundTrip();
    void timeOfDayToMicroseconds_data();
    void timeOfDayToMicroseconds();
    void microsecondsToTimeOfDay_data();
    void microsecondsToTimeOfDay();
    void timeOfDayRoundTrip_data();
    void timeOfDayRoundTrip();
    void waitNotPositiveReturnsAtOnce_data();
    void waitNotPositiveReturnsAtOnce();
    void waitProcessesEventsUntilTimeIsUp();
    void waitDoesNotSpin();
};

void TestTimeText::timeToString_data()
{
    QTest::addColumn<qint64>("microseconds");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << qint64(0) << "00:00:00.000";
    QTest::newRow("negative") << qint64(-5) << "00:00:00.000";
    QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "00:00:00.000";
    QTest::newRow("all fields") << qint64(3'723'456'789) << "01:02:03.456";
    QTest::newRow("sub-millisecond dropped") << qint64(999) << "00:00:00.000";
    QTest::newRow("just below a second") << qint64(999'999) << "00:00:00.999";
    QTest::newRow("one second") << qint64(1'000'000) << "00:00:01.000";
    QTest::newRow("minute carry") << qint64(60'000'000) << "00:01:00.000";
    QTest::newRow("hour minus 1 ms") << qint64(3'599'999'000) << "00:59:59.999";
    QTest::newRow("100 hours") << qint64(360'000'000'000) << "100:00:00.000";
    // Hours beyond the range of a 32-bit integer still print in full.
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "2562047788:00:54.775";
}

void TestTimeText::timeToString()
{
    QFETCH(qint64, microseconds);
    QFETCH(QString, expected);
    QCOMPARE(TimeToString(microseconds), expected);
}

void TestTimeText::sizeToString_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << qint64(0) << "0 bytes";
    QTest::newRow("1023") << qint64(1023) << "1023 bytes";
    QTest::newRow("1024") << qint64(1024) << "1.00 KB";
    QTest::newRow("unit before rounding KB") << qint64(1'048'575) << "1024.00 KB";
    QTest::newRow("1 M") << qint64(1'048'576) << "1.00 M";
    QTest::newRow("unit before rounding M") << qint64(1'073'741'823) << "1024.00 M";
    QTest::newRow("1 G") << qint64(1'073'741'824) << "1.00 G";
    QTest::newRow("1.5 G") << qint64(1'610'612'736) << "1.50 G";
    QTest::newRow("minus one") << qint64(-1) << "-1 bytes";
    QTest::newRow("most negative")
        << std::numeric_limits<qint64>::min() << "-9223372036854775808 bytes";
    // Exact ties round to even, as printf("%.02f") does: 1.125 and 1.375.
    QTest::newRow("tie rounds down to even") << qint64(1152) << "1.12 KB";
    QTest::newRow("tie rounds up to even") << qint64(1408) << "1.38 KB";
    // Whole KB (or whole M) are scaled, the remainder dropped first: 1152 KB
    // and 1023 bytes is exactly 1.125 M, a tie, where the unrounded 1.12597 M
    // would print 1.13.
    QTest::newRow("M drops remainder") << qint64(1'180'671) << "1.12 M";
    QTest::newRow("G drops remainder") << qint64(1'209'008'127) << "1.12 G";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "8589934592.00 G";
}

void TestTimeText::sizeToString()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, expected);
    QCOMPARE(SizeToString(bytes), expected);
}

void TestTimeText::sizeToStringIgnoresNumericLocale()
{
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
    const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* chosen = nullptr;
    for (const char* name : candidates) {
        if (std::setlocale(LC_NUMERIC, name)) {
            chosen = name;
            break;
        }
    }
    if (!chosen)
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
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("no leading zeros") << "1:2:3" << qint64(3723);
    QTest::newRow("empty parts count") << "1::3" << qint64(3603);
    QTest::newRow("only colon") << ":" << qint64(0);
    QTest::newRow("not a number counts 0") << "1:x:3" << qint64(3603);
    QTest::newRow("fraction is not an integer") << "00:01:05.25" << qint64(60);
    QTest::newRow("long hours") << "100:00:00" << qint64(360'000);
    QTest::newRow("overflow gives 0") << "999999999999999999:0:0" << qint64(0);
}

void TestTimeText::clockToSeconds()
{
    QFETCH(QString, clock);
    QFETCH(qint64, expected);
    QCOMPARE(ClockToSeconds(clock), expected);
}

void TestTimeText::clockToMicroseconds_data()
{
    QTest::addColumn<QString>("clock");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("three digits") << "00:01:02.500" << qint64(62'500'000);
    QTest::newRow("two digits are hundredths") << "00:01:02.50" << qint64(62'500'000);
    QTest::newRow("leading zero hundredths") << "00:01:02.03" << qint64(62'030'000);
    QTest::newRow("one digit is tenths") << "00:01:02.5" << qint64(62'500'000);
    QTest::newRow("comma") << "00:01:02,500" << qint64(62'500'000);
    QTest::newRow("spaces around") << "  00:01:02.500 \t" << qint64(62'500'000);
    QTest::newRow("spaces inside") << "00: 01 :02. 500" << qint64(62'500'000);
    QTest::newRow("no fraction") << "00:01:02" << qint64(0);
    QTest::newRow("two clock fields") << "01:02.500" << qint64(0);
    QTest::newRow("four clock fields") << "0:01:02:03.500" << qint64(0);
    QTest::newRow("more than three digits") << "00:01:02.123456" << qint64(62'123'000);
    QTest::newRow("fraction not a number") << "00:01:02.ab" << qint64(62'000'000);
    QTest::newRow("empty fraction") << "00:01:02." << qint64(62'000'000);
    QTest::newRow("two points") << "00:01:02.5.0" << qint64(0);
    QTest::newRow("N/A") << "N/A" << qint64(0);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("all fields") << "01:02:03.456" << qint64(3'723'456'000);
    QTest::newRow("100 hours") << "100:00:00.000" << qint64(360'000'000'000);
    QTest::newRow("overflow gives 0") << "9999999999999:00:00.000" << qint64(0);
}

void TestTimeText::clockToMicroseconds()
{
    QFETCH(QString, clock);
    QFETCH(qint64, expected);
    QCOMPARE(ClockToMicroseconds(clock), expected);
}

void TestTimeText::timeToStringRoundTrip_data()
{
    QTest::addColumn<qint64>("microseconds");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("zero") << qint64(0) << qint64(0);
    QTest::newRow("one millisecond") << qint64(1000) << qint64(1000);
    QTest::newRow("sub-millisecond dropped") << qint64(3'723'456'789) << qint64(3'723'456'000);
    QTest::newRow("day minus 1 ms") << qint64(86'399'999'000) << qint64(86'399'999'000);
    QTest::newRow("over 100 hours") << qint64(400'000'001'000) << qint64(400'000'001'000);
    QTest::newRow("negative becomes zero") << qint64(-2'000'000) << qint64(0);
}

void TestTimeText::timeToStringRoundTrip()
{
    QFETCH(qint64, microseconds);
    QFETCH(qint64, expected);
    QCOMPARE(ClockToMicroseconds(TimeToString(microseconds)), expected);
}

void TestTimeText::timeOfDayToMicroseconds_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("midnight") << QTime(0, 0) << qint64(0);
    QTest::newRow("all fields") << QTime(1, 2, 3, 456) << qint64(3'723'456'000);
    QTest::newRow("last millisecond") << QTime(23, 59, 59, 999) << qint64(86'399'999'000);
    QTest::newRow("null time") << QTime() << qint64(0);
    QTest::newRow("invalid time") << QTime(25, 0) << qint64(0);
}

void TestTimeText::timeOfDayToMicroseconds()
{
    QFETCH(QTime, time);
    QFETCH(qint64, expected);
    QCOMPARE(TimeOfDayToMicroseconds(time), expected);
}

void TestTimeText::microsecondsToTimeOfDay_data()
{
    QTest::addColumn<qint64>("microseconds");
    QTest::addColumn<QTime>("expected");

    QTest::newRow("zero") << qint64(0) << QTime(0, 0);
    QTest::newRow("negative") << qint64(-5'000'000) << QTime(0, 0);
    QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << QTime(0, 0);
    QTest::newRow("all fields") << qint64(3'723'456'789) << QTime(1, 2, 3, 456);
    QTest::newRow("last microsecond of day") << qint64(86'399'999'999) << QTime(23, 59, 59, 999);
    QTest::newRow("24 hours invalid") << qint64(86'400'000'000) << QTime();
    QTest::newRow("largest invalid") << std::numeric_limits<qint64>::max() << QTime();
}

void TestTimeText::microsecondsToTimeOfDay()
{
    QFETCH(qint64, microseconds);
    QFETCH(QTime, expected);
    const QTime time = MicrosecondsToTimeOfDay(microseconds);
    QCOMPARE(time.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(time, expected);
}

void TestTimeText::timeOfDayRoundTrip_data()
{
    QTest::addColumn<QTime>("time");
    QTest::newRow("midnight") << QTime(0, 0);
    QTest::newRow("noon and a bit") << QTime(12, 0, 0, 1);
    QTest::newRow("all fields") << QTime(7, 8, 9, 10);
    QTest::newRow("last millisecond") << QTime(23, 59, 59, 999);
}

void TestTimeText::timeOfDayRoundTrip()
{
    QFETCH(QTime, time);
    QCOMPARE(MicrosecondsToTimeOfDay(TimeOfDayToMicroseconds(time)), time);
}

void TestTimeText::waitNotPositiveReturnsAtOnce_data()
{
    QTest::addColumn<int>("milliseconds");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -500;
    QTest::newRow("most negative") << std::numeric_limits<int>::min();
}

void TestTimeText::waitNotPositiveReturnsAtOnce()
{
    QFETCH(int, milliseconds);
    bool ran = false;
    QMetaObject::invokeMethod(
        this, [&ran] { ran = true; }, Qt::QueuedConnection);

    QElapsedTimer clock;
    clock.start();
    WaitWithEvents(milliseconds);
    const qint64 elapsed = clock.elapsed();

    // Nothing to wait for, so not even the pending event is handled.
    QVERIFY(!ran);
    QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
    QCoreApplication::processEvents(); // drain the posted call before `ran` goes away
    QVERIFY(ran);
}

void TestTimeText::waitProcessesEventsUntilTimeIsUp()
{
    bool queuedRan = false;
    bool earlyTimerFired = false;
    bool lateTimerFired = false;
    QMetaObject::invokeMethod(
        this, [&queuedRan] { queuedRan = true; }, Qt::QueuedConnection);
    QTimer::singleShot(30, this, [&earlyTimerFired] { earlyTimerFired = true; });
    // Fires after several rounds, so events are handled through the whole wait.
    QTimer::singleShot(220, this, [&lateTimerFired] { lateTimerFired = true; });

    QElapsedTimer clock;
    clock.start();
    WaitWithEvents(300);
    const qint64 elapsed = clock.elapsed();

    QVERIFY2(elapsed >= 300, qPrintable(QString::number(elapsed)));
    QVERIFY(queuedRan);
    QVERIFY(earlyTimerFired);
    QVERIFY(lateTimerFired);
}

void TestTimeText::waitDoesNotSpin()
{
    // A wait with nothing to do must leave the processor to others: the
    // process may use far less processor time than the wall-clock wait.
    const std::clock_t cpuStart = std::clock();
    QElapsedTimer clock;
    clock.start();
    WaitWithEvents(400);
    const qint64 elapsed = clock.elapsed();
    const double cpuMs = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;

    QVERIFY2(elapsed >= 400, qPrintable(QString::number(elapsed)));
    QVERIFY2(cpuMs < 150.0, qPrintable(QStringLiteral("cpu %1 ms").arg(cpuMs)));
}

QTEST_GUILESS_MAIN(TestTimeText)
#include "test_timetext.moc"
