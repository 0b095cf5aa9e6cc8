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
    void toolValue_data()
    {
        QTest::addColumn<qint64>("t");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<bool>("segmentPhase");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("expected");

        // Final step: 5000 + 5000 * t / T.
        QTest::newRow("final 4.92 of 10 s")
            << qint64(4'920'000) << qint64(10'000'000) << false << 0 << 7460;
        QTest::newRow("final past the end caps")
            << qint64(20'000'000) << qint64(10'000'000) << false << 0 << 9999;
        // Segment phase: 5000/(k+1) * k + (t * 5000/(k+1)) / T.
        QTest::newRow("segment k=1 t/T=0.2")
            << qint64(2'000'000) << qint64(10'000'000) << true << 1 << 3000;
        QTest::newRow("segment k=3 t/T=0.1")
            << qint64(1'000'000) << qint64(10'000'000) << true << 3 << 3875;
        QTest::newRow("no time") << qint64(0) << qint64(10'000'000) << false << 0 << -1;
        QTest::newRow("no total") << qint64(1'000'000) << qint64(0) << false << 0 << -1;
    }
    void toolValue()
    {
        QFETCH(qint64, t);
        QFETCH(qint64, total);
        QFETCH(bool, segmentPhase);
        QFETCH(int, k);
        QFETCH(int, expected);
        QCOMPARE(ToolProgressValue(t, total, segmentPhase, k), expected);
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
