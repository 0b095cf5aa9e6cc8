#include "convert/progress.h"

#include <QTest>

class TestConvertProgress : public QObject
{
    Q_OBJECT

private slots:
    void parseTime_data()
    {
        QTest::addColumn<QString>("chunk");
        QTest::addColumn<qint64>("micros");

        QTest::newRow("usual line")
            << "frame=  123 fps=0.0 q=-1.0 size=    1024kB time=00:00:04.92 bitrate=1704.9kbits/s"
            << qint64(4'920'000);
        QTest::newRow("spaces around =")
            << "size= 1kB time = 00:01:02.50 bitrate=1" << qint64(62'500'000);
        QTest::newRow("no fraction") << "time=01:00:05 bitrate" << qint64(3'605'000'000);
        QTest::newRow("N/A") << "size=N/A time=N/A bitrate=N/A speed=N/A" << qint64(0);
    }
    void parseTime()
    {
        QFETCH(QString, chunk);
        QFETCH(qint64, micros);
        QCOMPARE(ParseProgressTime(chunk), micros);
    }
    // The tool's output is read per frame report; a report cut in two is read whole.
    void parser()
    {
        ProgressTextParser parser;
        QCOMPARE(parser.feed(QStringLiteral("frame=  10 fps=0 time=00:00:00.40 bitrate=1\r"
                                            "frame=  30 fps=0 time=N/A bitrate=1\r")),
                 QList<qint64>{400'000});
        // "00:10" alone would read as ten seconds instead of ten minutes.
        QVERIFY(parser.feed(QStringLiteral("frame=1 time=00:10")).isEmpty());
        QCOMPARE(parser.feed(QStringLiteral(":30.00 bitrate=1\r")), QList<qint64>{630'000'000});
    }
    void passValue_data()
    {
        QTest::addColumn<qint64>("t");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("span");
        QTest::addColumn<int>("expected");
        // The join pass after pieces that took the first 30 %.
        QTest::newRow("half of the join")
            << qint64(5'000'000) << qint64(10'000'000) << 3000 << 6999 << 6499;
        QTest::newRow("past the end caps")
            << qint64(20'000'000) << qint64(10'000'000) << 3000 << 6999 << 9999;
        QTest::newRow("no time") << qint64(0) << qint64(10'000'000) << 0 << 9999 << -1;
        QTest::newRow("no length") << qint64(1'000'000) << qint64(0) << 0 << 9999 << -1;
    }
    void passValue()
    {
        QFETCH(qint64, t);
        QFETCH(qint64, length);
        QFETCH(int, base);
        QFETCH(int, span);
        QFETCH(int, expected);
        QCOMPARE(PassProgressValue(t, length, base, span), expected);
    }
    void engineValue_data()
    {
        QTest::addColumn<qint64>("current");
        QTest::addColumn<qint64>("duration");
        QTest::addColumn<int>("expected");

        QTest::newRow("half") << qint64(5'000'000) << qint64(10'000'000) << 5000;
        QTest::newRow("9998 stays") << qint64(9'998) << qint64(10'000) << 9998;
        QTest::newRow("9999 capped") << qint64(9'999) << qint64(10'000) << 9999;
        QTest::newRow("zero duration means 10000") << qint64(1234) << qint64(0) << 1234;
        QTest::newRow("negative current") << qint64(-5) << qint64(10'000'000) << 0;
    }
    void engineValue()
    {
        QFETCH(qint64, current);
        QFETCH(qint64, duration);
        QFETCH(int, expected);
        QCOMPARE(EngineProgressValue(current, duration), expected);
    }
    void tracker()
    {
        ProgressTracker p;
        QCOMPARE(p.value(), 0);
        QVERIFY(p.setProgress(5000, true));
        QVERIFY(!p.setProgress(3000, true)); // never backwards
        QCOMPARE(p.value(), 5000);
        QVERIFY(p.setProgress(20000, true)); // clamped to the whole bar
        QCOMPARE(p.value(), 10000);
        QVERIFY(p.setProgress(0, false)); // a new job starts from zero
        QCOMPARE(p.value(), 0);
        QVERIFY(!p.setProgress(-7, true));
        QCOMPARE(p.value(), 0);
    }
    void percentText_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");

        QTest::newRow("7") << 7 << "0.07%";
        QTest::newRow("505") << 505 << "5.05%";
        QTest::newRow("7460") << 7460 << "74.60%";
        QTest::newRow("10000") << 10000 << "100.00%";
    }
    void percentText()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(ProgressPercentText(value), text);
    }
};

QTEST_GUILESS_MAIN(TestConvertProgress)
#include "test_convertprogress.moc"
