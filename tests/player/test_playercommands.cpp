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
    void argumentOrder();
    void arguments_data();
    void arguments();
    void subtitleArgument_data();
    void subtitleArgument();
    void volumeSetting_data();
    void volumeSetting();
    void muteSetting_data();
    void muteSetting();
    void seekCommand_data();
    void seekCommand();
    void output_data();
    void output();
    void overlongGarbageIsDropped();
    void endOfMedia_data();
    void endOfMedia();
};

void TestPlayerCommands::argumentOrder()
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

void TestPlayerCommands::arguments_data()
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
    QTest::newRow("volume 0") << 0 << false << 0 << -1LL << "0" << none << none;
    QTest::newRow("volume 150") << 150 << false << 0 << -1LL << "100" << none << none;
    QTest::newRow("track 2") << 80 << false << 2 << -1LL << "80"
                             << "2" << none;
    QTest::newRow("muted keeps the track") << 80 << true << 2 << -1LL << "80"
                                           << "2" << none;
    QTest::newRow("muted, default track") << 80 << true << 0 << -1LL << "80" << none << none;
    QTest::newRow("start 0") << 80 << false << 0 << 0LL << "80" << none << "00:00:00.000";
    QTest::newRow("start, sub-ms dropped")
        << 80 << false << 0 << 3'723'456'999LL << "80" << none << "01:02:03.456";
}

void TestPlayerCommands::arguments()
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

void TestPlayerCommands::subtitleArgument_data()
{
    QTest::addColumn<QString>("subtitle");
    QTest::addColumn<QString>("name"); // what the player must open; empty: no "-vf"
    QTest::newRow("none") << QString() << QString();
    QTest::newRow("folder dropped") << "/home/u/v/movie.srt"
                                    << "movie.srt";
    QTest::newRow("bare name") << "movie.VTT"
                               << "movie.VTT";
    QTest::newRow("spaces and unicode") << "/v/Mein Film ä.ass"
                                        << "Mein Film ä.ass";
    QTest::newRow("filter separators") << "/v/a:b,c'd\\e.srt"
                                       << "a:b,c'd\\e.srt";
}

void TestPlayerCommands::subtitleArgument()
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

void TestPlayerCommands::volumeSetting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("volume");
    QTest::newRow("negative") << "-5" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("usual") << "80" << 80;
    QTest::newRow("too loud") << "150" << 100;
    QTest::newRow("huge") << "99999999999" << 100;
    QTest::newRow("not a number") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestPlayerCommands::volumeSetting()
{
    QFETCH(QString, text);
    QFETCH(int, volume);
    QCOMPARE(VolumeFromSetting(text), volume);
    // What is stored reads back unchanged.
    QCOMPARE(VolumeFromSetting(VolumeSettingText(volume)), volume);
}

void TestPlayerCommands::muteSetting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("muted");
    QTest::newRow("TRUE") << "TRUE" << true;
    QTest::newRow("lower case") << "true" << false;
    QTest::newRow("FALSE") << "FALSE" << false;
    QTest::newRow("empty") << "" << false;
}

void TestPlayerCommands::muteSetting()
{
    QFETCH(QString, text);
    QFETCH(bool, muted);
    QCOMPARE(MutedFromSetting(text), muted);
    QCOMPARE(MuteSettingText(muted), muted ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

void TestPlayerCommands::seekCommand_data()
{
    QTest::addColumn<qint64>("micros");
    QTest::addColumn<QString>("command");
    QTest::newRow("45.9 s") << qint64(45'900'000) << "seek:45";
    QTest::newRow("just under 1 s") << qint64(999'999) << "seek:0";
    QTest::newRow("61.5 s") << qint64(61'500'000) << "seek:61";
    QTest::newRow("three hours") << qint64(10'800'000'000) << "seek:10800";
    QTest::newRow("before the start") << qint64(-1'500'000) << "seek:0";
}

void TestPlayerCommands::seekCommand()
{
    QFETCH(qint64, micros);
    QFETCH(QString, command);
    QCOMPARE(SeekCommand(micros), command);
    QCOMPARE(PlayerProtocol::ParseCommand(command.toStdString()).kind,
             PlayerProtocol::Command::Seek);
}

void TestPlayerCommands::output_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("position") << QList<QByteArray>{"Current:12.5,Duration:60.25\n"}
                              << QStringList{"pos:12500000/60250000"};
    QTest::newRow("spaces") << QList<QByteArray>{"  Current: 3 , Duration: 10 \n"}
                            << QStringList{"pos:3000000/10000000"};
    QTest::newRow("CR LF") << QList<QByteArray>{"Current:1.000,Duration:2.000\r\n"}
                           << QStringList{"pos:1000000/2000000"};
    QTest::newRow("volume") << QList<QByteArray>{"volume:35\n"} << QStringList{"vol:35"};
    QTest::newRow("split across chunks") << QList<QByteArray>{"Curr", "ent:4.5,Dura", "tion:9\n"}
                                         << QStringList{"pos:4500000/9000000"};
    QTest::newRow("several in one chunk")
        << QList<QByteArray>{"Current:1,Duration:5\nvolume:7\r\nCurrent:2,Duration:5\n"}
        << QStringList{"pos:1000000/5000000", "vol:7", "pos:2000000/5000000"};
    QTest::newRow("fragment kept until its end")
        << QList<QByteArray>{"volume:1", "0\nCurrent:1,Dur"} << QStringList{"vol:10"};
    QTest::newRow("garbage")
        << QList<QByteArray>{"hello\n\n \nDuration:5,Current:1\nvolume:x\n"
                             "Current:1,2,Duration:3\nCurrent:a,Duration:2\n"
                             "current:1,Duration:2\nCurrent:1e999,Duration:2\n"}
        << QStringList{};
    QTest::newRow("garbage between lines")
        << QList<QByteArray>{"\x01\xff junk\nvolume:3\n", "??\n"} << QStringList{"vol:3"};
}

void TestPlayerCommands::output()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QStringList, lines);
    PlayerOutputParser parser;
    QList<PlayerOutputLine> got;
    for (const QByteArray& chunk : chunks)
        got += parser.feed(chunk);
    QCOMPARE(Describe(got), lines);
}

void TestPlayerCommands::overlongGarbageIsDropped()
{
    PlayerOutputParser parser;
    // The tail of an overlong line must not be read as a line of its own.
    QVERIFY(parser.feed(QByteArray(100'000, 'x')).isEmpty());
    QVERIFY(parser.feed("volume:5\nvolume:6\n").size() == 1);
    parser.feed("volume:");
    parser.reset();
    QVERIFY(parser.feed("9\n").isEmpty());
}

void TestPlayerCommands::endOfMedia_data()
{
    QTest::addColumn<double>("current");
    QTest::addColumn<double>("duration");
    QTest::addColumn<bool>("end");
    const double limit = static_cast<double>(0.2f);
    QTest::newRow("0.1 s left") << 5.0 << 5.1 << true;
    QTest::newRow("duration 1 s") << 0.9 << 1.0 << false;
    QTest::newRow("just over 1 s") << 1.0 << std::nextafter(1.0, 2.0) << true;
    QTest::newRow("exactly the limit") << 2.0 - limit << 2.0 << true;
    QTest::newRow("just over the limit") << std::nextafter(2.0 - limit, 0.0) << 2.0 << false;
    QTest::newRow("between 0.2 and the limit") << 2.0 - 0.200000001 << 2.0 << true;
    QTest::newRow("half a second left") << 9.5 << 10.0 << false;
    QTest::newRow("past the end") << 11.0 << 10.0 << true;
}

void TestPlayerCommands::endOfMedia()
{
    QFETCH(double, current);
    QFETCH(double, duration);
    QFETCH(bool, end);
    QCOMPARE(IsEndOfMedia(current, duration), end);
}

QTEST_GUILESS_MAIN(TestPlayerCommands)
#include "test_playercommands.moc"
