// What splicora-cli reads from its arguments and how it prints: times, the
// FILE@START-END#TRACK inputs, whole command lines, the checks against a probed file,
// and the probe and progress texts.
#include "cli/cliitems.h"
#include "cli/clioptions.h"
#include "cli/clireport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

Q_DECLARE_METATYPE(CliInput)
Q_DECLARE_METATYPE(CliVerb)

namespace {

constexpr qint64 kSecond = 1000000;

// Files that "exist" for the parser.
bool Exists(const QString& path)
{
    return QStringList{"take@2-3.mp4", "b#2.mp4"}.contains(path);
}

CliInput Input(const QString& path, double start = -1, double end = -1, int track = -1)
{
    CliInput input;
    input.path = path;
    input.start = start < 0 ? -1 : qint64(start * kSecond + 0.5);
    input.end = end < 0 ? -1 : qint64(end * kSecond + 0.5);
    input.track = track;
    return input;
}

// A 10 s file with picture and two sound tracks, as the probe reports it.
MediaInfo TenSeconds()
{
    MediaInfo info;
    FillMediaInfo(info, QStringLiteral("/m/a.mp4"),
                  QStringLiteral("Duration: 00:00:10.00, start: 0.000000, bitrate: 900 kb/s"),
                  {QStringLiteral("Stream #0:0(und): Video: h264 (avc1), yuv420p, 320x240, "
                                  "800 kb/s, 25 fps, 25 tbr")},
                  {QStringLiteral("Stream #0:1(eng): Audio: aac (mp4a), 44100 Hz, stereo, "
                                  "fltp, 128 kb/s"),
                   QStringLiteral("Stream #0:2(ger): Audio: mp3, 48000 Hz, mono, fltp, 64 kb/s")},
                  {QString(), QStringLiteral("Commentary")});
    return info;
}

} // namespace

class TestCliParse : public QObject
{
    Q_OBJECT

private slots:
    void times_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("expected"); // -1: refused
        QTest::newRow("seconds") << "7" << 7 * kSecond;
        QTest::newRow("many seconds") << "150" << 150 * kSecond;
        QTest::newRow("milliseconds") << "10.37" << qint64(10370000);
        QTest::newRow("microseconds") << "0.000001" << qint64(1);
        QTest::newRow("minutes") << "2:05.5" << qint64(125500000);
        QTest::newRow("hours") << "1:02:03.004" << qint64(3723004000);
        QTest::newRow("long minutes") << "90:00" << 5400 * kSecond;
        for (const char* bad : {"", "-1", "1.", ".5", "1:2:3:4", "1:60", "1:60:00", "1:5:123", "5s",
                                "1,5", "0.1234567", "a", " 5"})
            QTest::newRow(bad) << QString::fromLatin1(bad) << qint64(-1);
    }
    void times()
    {
        QFETCH(QString, text);
        QFETCH(qint64, expected);
        qint64 value = -1;
        QCOMPARE(ParseCliTime(text, &value), expected >= 0);
        if (expected >= 0)
            QCOMPARE(value, expected);
    }

    void inputArguments_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<CliInput>("expected");
        QTest::addColumn<QString>("error"); // a piece of the message; empty: accepted
        QTest::newRow("plain") << "a.mp4" << Input("a.mp4") << "";
        QTest::newRow("range") << "a.mp4@1.5-4" << Input("a.mp4", 1.5, 4) << "";
        QTest::newRow("open start") << "a.mp4@-10" << Input("a.mp4", -1, 10) << "";
        QTest::newRow("open end") << "a.mp4@5-" << Input("a.mp4", 5) << "";
        QTest::newRow("track") << "a.mp4#2" << Input("a.mp4", -1, -1, 1) << "";
        QTest::newRow("both") << "dir/a.mp4@1:00-1:30.5#1" << Input("dir/a.mp4", 60, 90.5, 0) << "";
        QTest::newRow("existing name whole") << "take@2-3.mp4" << Input("take@2-3.mp4") << "";
        QTest::newRow("existing name, then a track")
            << "b#2.mp4#3" << Input("b#2.mp4", -1, -1, 2) << "";
        QTest::newRow("@ in a name") << "me@home.mp4" << Input("me@home.mp4") << "";
        QTest::newRow("bad time") << "a.mp4@1:75-2" << CliInput() << "'1:75'";
        QTest::newRow("no dash") << "a.mp4@5" << CliInput() << "START-END";
        QTest::newRow("empty range") << "a.mp4@4-4" << CliInput() << "not after";
        QTest::newRow("track 0") << "a.mp4#0" << CliInput() << "from 1";
        // No name before the '@': the whole is a name, which will not be found.
        QTest::newRow("no name before @") << "@1-2" << Input("@1-2") << "";
    }
    void inputArguments()
    {
        QFETCH(QString, argument);
        QFETCH(CliInput, expected);
        QFETCH(QString, error);
        CliInput input;
        QString message;
        const bool ok = ParseInputArgument(argument, &Exists, &input, &message);
        QCOMPARE(ok, error.isEmpty());
        if (ok)
            QCOMPARE(input, expected);
        else
            QVERIFY2(message.contains(error), qPrintable(message));
    }

    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CliVerb>("verb");
        QTest::addColumn<QString>("error"); // a piece of it; empty: none
        QTest::addColumn<QString>("check"); // what else must hold, see below
        QTest::newRow("nothing") << QStringList{} << CliVerb::None << ""
                                 << "";
        QTest::newRow("help") << QStringList{"-h"} << CliVerb::Help << ""
                              << "";
        QTest::newRow("help after a command")
            << QStringList{"join", "a.mp4", "--help"} << CliVerb::Help << ""
            << "";
        QTest::newRow("version") << QStringList{"--version"} << CliVerb::Version << ""
                                 << "";
        QTest::newRow("probe json")
            << QStringList{"probe", "a.mp4", "b.mkv", "--json"} << CliVerb::Probe << ""
            << "json 2";
        QTest::newRow("cut") << QStringList{"cut",      "a.mp4",   "--start",  "1:05",
                                            "--end=70", "--track", "2",        "-o",
                                            "x.mp4",    "--mode",  "keyframe", "--overwrite"}
                             << CliVerb::Cut << ""
                             << "cut 65-70 #1 keyframe x.mp4 overwrite";
        QTest::newRow("join") << QStringList{"join",     "a.mp4@-3", "b.mp4@2-#2",
                                             "--format", "2",        "--progress=json"}
                              << CliVerb::Join << ""
                              << "join 2 format 1 json";
        QTest::newRow("dash name after --")
            << QStringList{"join", "--", "-x.mp4"} << CliVerb::Join << ""
            << "join 1";
        QTest::newRow("run") << QStringList{"run", "list.json", "-q"} << CliVerb::Run << ""
                             << "run quiet";
        QTest::newRow("no command") << QStringList{"a.mp4"} << CliVerb::None << "no command"
                                    << "";
        QTest::newRow("unknown option")
            << QStringList{"cut", "a.mp4", "--from", "3"} << CliVerb::Cut << "'--from'"
            << "";
        QTest::newRow("option of another command")
            << QStringList{"join", "a.mp4", "--start", "3"} << CliVerb::Join << "no option of join"
            << "";
        QTest::newRow("bad time") << QStringList{"cut", "a.mp4", "--end", "1:2:3:4"} << CliVerb::Cut
                                  << "bad time '1:2:3:4' for --end"
                                  << "";
        QTest::newRow("end before start")
            << QStringList{"cut", "a.mp4", "--start", "5", "--end", "4"} << CliVerb::Cut
            << "not after the start"
            << "";
        QTest::newRow("missing value")
            << QStringList{"cut", "a.mp4", "-o"} << CliVerb::Cut << "needs a value"
            << "";
        QTest::newRow("two files to cut")
            << QStringList{"cut", "a.mp4", "b.mp4"} << CliVerb::Cut << "one file"
            << "";
        QTest::newRow("format out of range")
            << QStringList{"join", "a.mp4", "b.mp4", "--format", "3"} << CliVerb::Join << "1 to 2"
            << "";
        QTest::newRow("bad mode") << QStringList{"run", "l.json", "--mode", "fast"} << CliVerb::Run
                                  << "exact or keyframe"
                                  << "";
        QTest::newRow("quiet json") << QStringList{"join", "a.mp4", "-q", "--progress", "json"}
                                    << CliVerb::Join << "exclude"
                                    << "";
        QTest::newRow("no files") << QStringList{"probe"} << CliVerb::Probe << "at least one"
                                  << "";
    }
    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        QFETCH(QString, check);
        const CliRequest request = ParseCliArguments(arguments, &Exists);
        QTEST(request.verb, "verb");
        QVERIFY2(error.isEmpty() ? request.error.isEmpty() : request.error.contains(error),
                 qPrintable(request.error));
        if (check.startsWith("json")) {
            QVERIFY(request.json);
            QCOMPARE(request.inputs.size(), 2);
        } else if (check.startsWith("cut")) {
            QCOMPARE(request.inputs, QList<CliInput>{Input("a.mp4", 65, 70, 1)});
            QCOMPARE(request.mode, CutMode::Keyframe);
            QCOMPARE(request.output, QStringLiteral("x.mp4"));
            QVERIFY(request.overwrite && request.hasMode);
        } else if (check.startsWith("join 2")) {
            QCOMPARE(request.inputs,
                     (QList<CliInput>{Input("a.mp4", -1, 3), Input("b.mp4", 2, -1, 1)}));
            QCOMPARE(request.formatIndex, 1);
            QCOMPARE(request.progress, CliProgress::Json);
            QVERIFY(!request.hasMode);
        } else if (check == "join 1") {
            QCOMPARE(request.inputs, QList<CliInput>{Input("-x.mp4")});
        } else if (check == "run quiet") {
            QCOMPARE(request.jobList, QStringLiteral("list.json"));
            QVERIFY(request.quiet);
        }
    }

    void usageLines()
    {
        for (CliVerb verb :
             {CliVerb::Probe, CliVerb::Cut, CliVerb::Join, CliVerb::Run, CliVerb::None}) {
            const QString line = CliUsageLine(verb);
            QVERIFY(line.startsWith("usage: splicora-cli "));
            QVERIFY(!line.contains('\n'));
        }
        QVERIFY(CliUsageText().contains("join FILE[@START-END][#TRACK]"));
    }

    void items_data()
    {
        QTest::addColumn<CliInput>("input");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("end");
        QTest::addColumn<QString>("sampleRate"); // of the chosen track
        QTest::addColumn<QString>("error");
        QTest::newRow("whole file") << Input("a.mp4") << qint64(0) << 10 * kSecond << "44100 Hz"
                                    << "";
        QTest::newRow("open start, second track")
            << Input("a.mp4", -1, 4, 1) << qint64(0) << 4 * kSecond << "48000 Hz"
            << "";
        QTest::newRow("end within the duration's rounding")
            << Input("a.mp4", 2, 10.005) << 2 * kSecond << 10 * kSecond << "44100 Hz"
            << "";
        QTest::newRow("start past the end") << Input("a.mp4", 12) << qint64(0) << qint64(0) << ""
                                            << "is not within a.mp4";
        QTest::newRow("end past the end") << Input("a.mp4", 1, 11) << qint64(0) << qint64(0) << ""
                                          << "past the end of a.mp4";
        QTest::newRow("default end before the start")
            << Input("a.mp4", 10) << qint64(0) << qint64(0) << ""
            << "is not within";
        QTest::newRow("third track") << Input("a.mp4", -1, -1, 2) << qint64(0) << qint64(0) << ""
                                     << "there is no #3";
    }
    void items()
    {
        QFETCH(CliInput, input);
        QFETCH(QString, error);
        QList<ConvertItem> items;
        QString message;
        const bool ok = MakeConvertItems({input}, {TenSeconds()}, &items, &message);
        QCOMPARE(ok, error.isEmpty());
        if (!ok) {
            QVERIFY2(message.contains(error), qPrintable(message));
            return;
        }
        QCOMPARE(items.size(), 1);
        QTEST(items.first().cutStart, "start");
        QTEST(items.first().cutEnd, "end");
        QTEST(items.first().mediaInfo.sampleRateText, "sampleRate");
        QCOMPARE(items.first().audioTrackIndex, qMax(0, input.track));
    }

    void jobListInputs()
    {
        JobList list;
        list.entries = {{"/m/a.mp4", 1 * kSecond, -1, 0, false},
                        {"/m/b.mp4", 0, 3 * kSecond, 1, true}};
        const QList<CliInput> inputs = InputsOfJobList(list);
        QCOMPARE(inputs, (QList<CliInput>{Input("/m/a.mp4", 1), Input("/m/b.mp4", 0, 3, 1)}));
    }

    void outputSuffix()
    {
        QVERIFY(OutputSuffixProblem("/o/x.MP4", "mp4").isEmpty());
        QVERIFY(OutputSuffixProblem("/o/x.mkv", "MKV").isEmpty());
        QVERIFY(OutputSuffixProblem("/o/x.mov", "mp4").contains(".mp4"));
        QVERIFY(OutputSuffixProblem("/o/x", "mp4").contains(".mp4"));
    }

    void probeReport()
    {
        ProbedFile file{"/m/a.mp4", true, {}, "mov,mp4", TenSeconds()};
        const QString text = ProbeText(file);
        for (const char* line :
             {"duration   00:00:10.000", "container  mp4 (mov,mp4)",
              "video      h264 320x240 25fps", "audio 1    aac 44100 Hz stereo (eng)",
              "audio 2    mp3 48000 Hz mono (ger, Commentary)"})
            QVERIFY2(text.contains(QLatin1String(line)), qPrintable(text));

        const QJsonObject json = ProbeJson(file);
        QCOMPARE(json["duration"].toDouble(), 10.0);
        QCOMPARE(json["container"].toString(), QStringLiteral("mp4"));
        const QJsonObject video = json["video"].toArray().at(0).toObject();
        QCOMPARE(video["width"].toInt(), 320);
        QCOMPARE(video["frameRate"].toDouble(), 25.0);
        const QJsonArray audio = json["audio"].toArray();
        QCOMPARE(audio.size(), 2);
        QCOMPARE(audio.at(1)["track"].toInt(), 2);
        QCOMPARE(audio.at(1)["sampleRate"].toInt(), 48000);
        QCOMPARE(audio.at(1)["channels"].toInt(), 1);
        QCOMPARE(audio.at(1)["detail"].toString(), QStringLiteral("ger, Commentary"));

        const ProbedFile refused{"/m/t.txt", false, "not a media file", {}, {}};
        QCOMPARE(ProbeJson(refused),
                 (QJsonObject{{"file", "/m/t.txt"}, {"error", "not a media file"}}));
    }

    void progressTexts()
    {
        const QByteArray line =
            ProgressJsonLine("joining", 4250, 1.234, QJsonObject{{"result", "/o/\"x\".mp4"}});
        QVERIFY(line.startsWith("{\"phase\":\"joining\",\"percent\":42.5,\"elapsed\":1.23"));
        QVERIFY(line.endsWith("}\n"));
        const QJsonObject parsed = QJsonDocument::fromJson(line).object();
        QCOMPARE(parsed["result"].toString(), QStringLiteral("/o/\"x\".mp4"));
        QCOMPARE(ProgressJsonLine("done", 10000, 2, {}),
                 QByteArray("{\"phase\":\"done\",\"percent\":100,\"elapsed\":2}\n"));

        QCOMPARE(PercentOf(4256), 42.6);
        QCOMPARE(RemainingSeconds(50, 10), -1.0);    // under one percent
        QCOMPARE(RemainingSeconds(2500, 0.5), -1.0); // within the first second
        QCOMPARE(RemainingSeconds(2500, 3), 9.0);
        QCOMPARE(ClockOf(7), QStringLiteral("0:07"));
        QCOMPARE(ClockOf(750), QStringLiteral("12:30"));
        QCOMPARE(ClockOf(3723), QStringLiteral("1:02:03"));

        const QString bar = ProgressBarText("cutting", 5000, 3, 3, 80);
        QVERIFY2(bar.contains("50.0%") && bar.contains("0:03 elapsed") &&
                     bar.contains("0:03 left") && bar.size() < 80,
                 qPrintable(bar));
        // The bar keeps its length whether the time left is known or not.
        QCOMPARE(bar.indexOf(']'), ProgressBarText("cutting", 5000, 3, -1, 80).indexOf(']'));
        QVERIFY(ProgressBarText("encoding", 5000, 3, 3, 30).size() < 30);
    }
};

QTEST_GUILESS_MAIN(TestCliParse)
#include "test_cliparse.moc"
