#include "playerprotocol.h"

#include <QTest>

using namespace PlayerProtocol;

class TestFfplayProtocol : public QObject
{
    Q_OBJECT

private slots:
    void unknownOptionsAreSkipped()
    {
        Options o;
        QVERIFY(ParseArguments({"-x", "640", "-autoexit", "-i", "a.mp4", "-an", "-loglevel",
                                "quiet", "-volume", "250", "-wid", "nonsense", "-ss", "1:xx"},
                               o));
        QCOMPARE(o.input, std::string("a.mp4"));
        QVERIFY(o.noAudio);
        QCOMPARE(o.volume, 100); // clamped
        QVERIFY(!o.window);
        QCOMPARE(o.start, 0.0);
        Options none;
        QVERIFY(!ParseArguments({"-volume", "3"}, none));
        QVERIFY(!ParseArguments({"-i"}, none));
    }

    void times_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds"); // -1: rejected
        QTest::newRow("seconds") << "12.25" << 12.25;
        QTest::newRow("clock") << "01:02:03.500" << 3723.5;
        QTest::newRow("minutes") << "2:05" << 125.0;
        QTest::newRow("garbage") << "abc" << -1.0;
        QTest::newRow("fraction not last") << "1.5:00" << -1.0;
    }
    void times()
    {
        QFETCH(QString, text);
        QFETCH(double, seconds);
        const auto parsed = ParseTime(text.toStdString());
        QCOMPARE(parsed.has_value(), seconds >= 0);
        if (parsed)
            QCOMPARE(*parsed, seconds);
    }

    void subtitleFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << "subtitles=movie.srt"
                               << "movie.srt";
        QTest::newRow("quoted") << "scale=640:-1,subtitles='a,b:c.srt'"
                                << "a,b:c.srt";
        QTest::newRow("escaped") << "subtitles=a\\:b.srt"
                                 << "a:b.srt";
        QTest::newRow("other filter") << "scale=640:360"
                                      << "";
    }
    void subtitleFilter()
    {
        QFETCH(QString, filter);
        QFETCH(QString, file);
        QCOMPARE(QString::fromStdString(SubtitleFromFilter(filter.toStdString())), file);
    }

    void commands_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("value");
        QTest::newRow("seek") << "seek:45" << int(Command::Seek) << 45.0;
        QTest::newRow("negative seek") << "seek:-3" << int(Command::Unknown) << 0.0;
        QTest::newRow("volume") << "volume:35" << int(Command::Volume) << 35.0;
        QTest::newRow("loud") << "volume:300" << int(Command::Volume) << 100.0;
        QTest::newRow("exit with return") << "exit\r" << int(Command::Exit) << 0.0;
        QTest::newRow("other") << "Time" << int(Command::Unknown) << 0.0;
    }
    void commands()
    {
        QFETCH(QString, line);
        QFETCH(int, kind);
        QFETCH(double, value);
        const Command command = ParseCommand(line.toStdString());
        QCOMPARE(int(command.kind), kind);
        QCOMPARE(command.value, value);
    }

    void linesSplitAcrossReads()
    {
        LineBuffer buffer;
        std::string line;
        buffer.Append("ti");
        QVERIFY(!buffer.Next(line));
        buffer.Append("me\r\nseek:4\nvol");
        QVERIFY(buffer.Next(line));
        QCOMPARE(line, std::string("time"));
        QVERIFY(buffer.Next(line));
        QCOMPARE(line, std::string("seek:4"));
        QVERIFY(!buffer.Next(line));
    }
};

QTEST_GUILESS_MAIN(TestFfplayProtocol)
#include "test_ffplayprotocol.moc"
