#include "player/playercommands.h"
#include "playerprotocol.h"

#include <QTest>

#include <cmath>
#include <string>
#include <vector>

namespace {

PlayerStartOptions BaseOptions()
{
    PlayerStartOptions options;
    options.filePath = QStringLiteral("/media/clips/a b.mp4");
    options.windowId = QStringLiteral("12345");
    return options;
}

// The value that follows `option`, or a null string when it is absent.
QString ValueOf(const QStringList& args, const QString& option)
{
    const qsizetype at = args.indexOf(option);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
}

// The player program's own reading of the list.
PlayerProtocol::Options ParsedByPlayer(const QStringList& args)
{
    std::vector<std::string> words;
    for (const QString& arg : args)
        words.push_back(arg.toStdString());
    PlayerProtocol::Options parsed;
    if (!PlayerProtocol::ParseArguments(words, parsed))
        qWarning("the player finds no input file");
    return parsed;
}

// Understood lines, written as "pos:<current>/<duration>" or "vol:<n>".
QStringList Describe(const QList<PlayerOutputLine>& lines)
{
    QStringList out;
    for (const PlayerOutputLine& line : lines) {
        out << (line.kind == PlayerOutputLine::Position
                    ? QStringLiteral("pos:%1/%2").arg(line.current).arg(line.duration)
                    : QStringLiteral("vol:%1").arg(line.volume));
    }
    return out;
}

} // namespace

class TestPlayerCommands : public QObject
{
    Q_OBJECT

private slots:
    void argumentOrder()
    {
        PlayerStartOptions options = BaseOptions();
        options.subtitle = QStringLiteral("/subs/a.srt");
        options.audioTrack = 2;
        options.startPosition = 1'500'000;
        const QStringList expected{"-i",      options.filePath,
                                   "-vf",     "subtitles=a.srt",
                                   "-wid",    "12345",
                                   "-volume", "80",
                                   "-ast",    "2",
                                   "-ss",     "00:00:01.500"};
        QCOMPARE(PlayerArguments(options), expected);
    }
    void arguments_data()
    {
        QTest::addColumn<int>("volume");
        QTest::addColumn<bool>("muted");
        QTest::addColumn<int>("track");
        QTest::addColumn<qint64>("start"); // negative: none given
        QTest::addColumn<QString>("volumeArg");
        QTest::addColumn<QString>("astArg"); // null: no "-ast"
        QTest::addColumn<QString>("ssArg");  // null: no "-ss"
        const QString none;
        QTest::newRow("volume -5") << -5 << false << 0 << -1LL << "0" << none << none;
        QTest::newRow("volume 150") << 150 << false << 0 << -1LL << "100" << none << none;
        QTest::newRow("muted keeps the track") << 80 << true << 2 << -1LL << "80"
                                               << "2" << none;
        QTest::newRow("start, sub-ms dropped")
            << 80 << false << 0 << 3'723'456'999LL << "80" << none << "01:02:03.456";
    }
    void arguments()
    {
        QFETCH(int, volume);
        QFETCH(bool, muted);
        QFETCH(int, track);
        QFETCH(qint64, start);
        QFETCH(QString, volumeArg);
        QFETCH(QString, astArg);
        QFETCH(QString, ssArg);
        PlayerStartOptions options = BaseOptions();
        options.volume = volume;
        options.muted = muted;
        options.audioTrack = track;
        if (start >= 0)
            options.startPosition = start;
        const QStringList args = PlayerArguments(options);
        QCOMPARE(ValueOf(args, "-volume"), volumeArg);
        QCOMPARE(ValueOf(args, "-muted"), muted ? QStringLiteral("1") : QString());
        QCOMPARE(ValueOf(args, "-ast"), astArg);
        QCOMPARE(ValueOf(args, "-ss"), ssArg);
        // The player must read back what was meant.
        const PlayerProtocol::Options parsed = ParsedByPlayer(args);
        QCOMPARE(parsed.input, options.filePath.toStdString());
        QCOMPARE(parsed.window, std::optional<std::int64_t>(12345));
        QCOMPARE(parsed.volume, volumeArg.toInt());
        QCOMPARE(parsed.muted, muted);
        QCOMPARE(parsed.audioStream, astArg.isNull() ? -1 : astArg.toInt());
        QVERIFY(std::fabs(parsed.start - std::max<qint64>(start, 0) / 1000 / 1000.0) < 1e-9);
        // The stored setting holds the clamped value too.
        QCOMPARE(VolumeSettingText(volume), volumeArg);
    }
    void subtitleArgument_data()
    {
        QTest::addColumn<QString>("subtitle");
        QTest::addColumn<QString>("name"); // what the player must open; empty: no "-vf"
        QTest::newRow("none") << QString() << QString();
        QTest::newRow("folder dropped") << "/home/u/v/movie.srt"
                                        << "movie.srt";
        QTest::newRow("filter separators") << "/v/a:b,c'd\\e.srt"
                                           << "a:b,c'd\\e.srt";
    }
    void subtitleArgument()
    {
        QFETCH(QString, subtitle);
        QFETCH(QString, name);
        PlayerStartOptions options = BaseOptions();
        options.subtitle = subtitle;
        const QStringList args = PlayerArguments(options);
        QCOMPARE(args.contains("-vf"), !name.isEmpty());
        if (!name.isEmpty())
            QVERIFY(ValueOf(args, "-vf").startsWith("subtitles="));
        QCOMPARE(QString::fromStdString(ParsedByPlayer(args).subtitle), name);
    }
    void settings()
    {
        // A stored volume reads back clamped; anything unreadable means silence.
        QCOMPARE(VolumeFromSetting("-5"), 0);
        QCOMPARE(VolumeFromSetting("80"), 80);
        QCOMPARE(VolumeFromSetting("150"), 100);
        QCOMPARE(VolumeFromSetting("abc"), 0);
        // Only the exact upper-case word mutes.
        QVERIFY(MutedFromSetting("TRUE"));
        QVERIFY(!MutedFromSetting("true"));
        QCOMPARE(MuteSettingText(true), QStringLiteral("TRUE"));
        QCOMPARE(MuteSettingText(false), QStringLiteral("FALSE"));
    }
    void seekCommand_data()
    {
        QTest::addColumn<qint64>("micros");
        QTest::addColumn<QString>("command");
        QTest::newRow("just under 1 s") << qint64(999'999) << "seek:0";
        QTest::newRow("61.5 s") << qint64(61'500'000) << "seek:61";
        QTest::newRow("before the start") << qint64(-1'500'000) << "seek:0";
    }
    void seekCommand()
    {
        QFETCH(qint64, micros);
        QFETCH(QString, command);
        QCOMPARE(SeekCommand(micros), command);
        QCOMPARE(PlayerProtocol::ParseCommand(command.toStdString()).kind,
                 PlayerProtocol::Command::Seek);
    }
    void output_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("position and volume")
            << QList<QByteArray>{"Current:12.5,Duration:60.25\r\nvolume:35\n"}
            << QStringList{"pos:12500000/60250000", "vol:35"};
        // A line cut across reads is joined; an unfinished one waits for its end.
        QTest::newRow("split across chunks")
            << QList<QByteArray>{"Curr", "ent:4.5,Dura", "tion:9\nvolume:1"}
            << QStringList{"pos:4500000/9000000"};
        QTest::newRow("garbage")
            << QList<QByteArray>{"hello\n\n \nDuration:5,Current:1\nvolume:x\n"
                                 "Current:1,2,Duration:3\nCurrent:a,Duration:2\n"
                                 "current:1,Duration:2\nCurrent:1e999,Duration:2\n"}
            << QStringList{};
    }
    void output()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QStringList, lines);
        PlayerOutputParser parser;
        QList<PlayerOutputLine> got;
        for (const QByteArray& chunk : chunks)
            got += parser.feed(chunk);
        QCOMPARE(Describe(got), lines);
    }
    void endOfMedia_data()
    {
        QTest::addColumn<double>("current");
        QTest::addColumn<double>("duration");
        QTest::addColumn<bool>("end");
        const double limit = static_cast<double>(0.2f);
        QTest::newRow("0.1 s left") << 5.0 << 5.1 << true;
        QTest::newRow("duration 1 s") << 0.9 << 1.0 << false;
        QTest::newRow("exactly the limit") << 2.0 - limit << 2.0 << true;
        QTest::newRow("just over the limit") << std::nextafter(2.0 - limit, 0.0) << 2.0 << false;
        QTest::newRow("past the end") << 11.0 << 10.0 << true;
    }
    void endOfMedia()
    {
        QFETCH(double, current);
        QFETCH(double, duration);
        QFETCH(bool, end);
        QCOMPARE(IsEndOfMedia(current, duration), end);
    }
};

QTEST_GUILESS_MAIN(TestPlayerCommands)
#include "test_playercommands.moc"
