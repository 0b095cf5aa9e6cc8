// The built splicora-cli run as a user runs it, on clips made here: what it
// prints, the files it writes (checked with ffprobe), its exit statuses, and
// that an interrupted or refused run leaves nothing behind.
#include "app/settings.h"
#include "list/joblist.h"
#include "testsupport/testmedia.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

constexpr qint64 kSecond = 1000000;
// A frame at 25 fps, and the sound's last packet beyond it.
constexpr double kTolerance = 0.07;

struct Outcome
{
    int exitCode = -1; // -1: crashed or still running
    QString out;
    QString err;
};

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    QTemporaryDir m_out; // the configured output folder, emptied before each test

    QString media(const QString& name) const { return m_media.filePath(name); }
    QString out(const QString& name) const { return m_out.filePath(name); }
    QStringList outFiles() const
    {
        return QDir(m_out.path())
            .entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot |
                       QDir::System);
    }

    // "m:name" is a clip of the corpus, "o:name" a file in the output folder.
    QStringList expand(const QStringList& args) const
    {
        QStringList expanded;
        for (const QString& arg : args) {
            if (arg.startsWith("m:"))
                expanded << media(arg.mid(2));
            else if (arg.startsWith("o:"))
                expanded << out(arg.mid(2));
            else
                expanded << arg;
        }
        return expanded;
    }

    static Outcome Run(const QStringList& args)
    {
        QProcess process;
        process.start(QStringLiteral(SPLICORA_CLI), args);
        Outcome outcome;
        if (process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit)
            outcome.exitCode = process.exitCode();
        else
            process.kill();
        outcome.out = QString::fromUtf8(process.readAllStandardOutput());
        outcome.err = QString::fromUtf8(process.readAllStandardError());
        return outcome;
    }

    // The result's length, streams and picture size are what was asked for.
    static void CheckResult(const QString& path, double seconds, const QString& size)
    {
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        const double duration = TestMedia::DurationSeconds(path);
        QVERIFY2(
            qAbs(duration - seconds) <= kTolerance,
            qPrintable(
                QStringLiteral("%1 lasts %2 s, not %3 s").arg(path).arg(duration).arg(seconds)));
        QCOMPARE(TestMedia::StreamTypes(path), (QStringList{"video", "audio"}));
        QCOMPARE(TestMedia::StreamValues(path, "v:0", "width,height").join('x'), size);
    }

private slots:
    void initTestCase()
    {
        // The output folder is set in the settings store: never the user's.
        QVERIFY2(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"), "run through ctest");
        QVERIFY(m_media.isValid() && m_out.isValid());
        QVERIFY(!TestMedia::Ffmpeg().isEmpty());
        QVERIFY(TestMedia::MakeClip(media("a.mp4"), 6));
        QVERIFY(TestMedia::MakeClip(media("b.mp4"), 4));
        QVERIFY(TestMedia::MakeClip(media("two.mp4"), 4, 320, 240, 25, true, 2));
        QVERIFY(TestMedia::MakeClip(media("c.mkv"), 4, 640, 360));
        // Long enough to be interrupted while the engine re-encodes them.
        QVERIFY(TestMedia::MakeClip(media("long.mp4"), 30, 640, 360));
        QVERIFY(TestMedia::MakeClip(media("long.mkv"), 30, 320, 240));
        QFile text(media("notes.mp4"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("Shopping list: milk, eggs, bread.\n");
        text.close();
        // Where a result goes without -o, as the window keeps it.
        WriteSetting("DefaultOutputFolder", m_out.path());
    }

    void init()
    {
        for (const QString& name : outFiles())
            QFile::remove(out(name));
    }

    void probe()
    {
        const Outcome text = Run({"probe", media("a.mp4"), media("two.mp4")});
        QCOMPARE(text.exitCode, 0);
        for (const char* fact : {"00:00:06.000", "h264 320x240 25fps", "audio 1    aac 44100 Hz",
                                 "audio 2    aac 48000 Hz", "00:00:04.000"})
            QVERIFY2(text.out.contains(QLatin1String(fact)), qPrintable(text.out));

        const Outcome json = Run({"probe", "--json", media("a.mp4"), media("c.mkv")});
        QCOMPARE(json.exitCode, 0);
        const QJsonArray files = QJsonDocument::fromJson(json.out.toUtf8()).array();
        QCOMPARE(files.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const QJsonObject file = files.at(i).toObject();
            const QString path = file["file"].toString();
            QCOMPARE(path, media(i == 0 ? "a.mp4" : "c.mkv"));
            QVERIFY(qAbs(file["duration"].toDouble() - TestMedia::DurationSeconds(path)) < 0.02);
            QCOMPARE(file["audio"].toArray().size(), 1);
        }
        QCOMPARE(files.at(1)["container"].toString(), QStringLiteral("mkv"));
        QCOMPARE(files.at(1)["video"][0]["width"].toInt(), 640);
        QCOMPARE(files.at(1)["video"][0]["frameRate"].toDouble(), 25.0);
    }

    void refusedFiles()
    {
        const Outcome probe = Run({"probe", media("notes.mp4"), media("a.mp4"), media("gone.mp4")});
        QCOMPARE(probe.exitCode, 1);
        QVERIFY2(probe.err.contains("notes.mp4: not a media file") &&
                     probe.err.contains("gone.mp4: not found"),
                 qPrintable(probe.err));
        QVERIFY(probe.out.contains("00:00:06.000")); // the others are still probed

        const Outcome join = Run({"join", media("a.mp4"), media("notes.mp4"), "-o", out("x.mp4")});
        QCOMPARE(join.exitCode, 1);
        QVERIFY2(join.err.contains("notes.mp4: not a media file"), qPrintable(join.err));
        QCOMPARE(outFiles(), QStringList());
    }

    void conversions_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("sampleRate");
        QTest::newRow("exact cut")
            << QStringList{"cut", "m:a.mp4", "--start", "1.3", "--end", "4.5", "-o", "o:cut.mp4"}
            << 3.2 << "320x240"
            << "44100";
        QTest::newRow("second track to the end")
            << QStringList{"cut", "m:two.mp4", "--start", "0:01", "--track", "2", "-o", "o:t.mp4"}
            << 3.0 << "320x240"
            << "48000";
        QTest::newRow("keyframe cut")
            << QStringList{"cut", "m:a.mp4", "--start",  "2.5", "--end",
                           "5",   "--mode",  "keyframe", "-o",  "o:key.mp4"}
            << 3.0 << "320x240"
            << "44100";
        QTest::newRow("join of one format with ranges")
            << QStringList{"join", "m:a.mp4@1-3", "m:b.mp4@0.5-", "-o", "o:join.MP4"} << 5.5
            << "320x240"
            << "44100";
        QTest::newRow("join of two formats, in the second's")
            << QStringList{"join", "m:a.mp4@-2", "m:c.mkv@1-3", "--format",
                           "2",    "-o",         "o:mixed.mkv"}
            << 4.0 << "640x360"
            << "44100";
        QTest::newRow("into the output folder")
            << QStringList{"join", "m:a.mp4@-1", "m:b.mp4@2-3"} << 2.0 << "320x240"
            << "44100";
    }
    void conversions()
    {
        QFETCH(QStringList, args);
        QFETCH(double, seconds);
        QFETCH(QString, size);
        const Outcome run = Run(expand(args));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        // Nothing but the result's path; no chatter without a terminal.
        QCOMPARE(run.err, QString());
        const QString result = run.out.trimmed();
        QCOMPARE(outFiles(), QStringList{QFileInfo(result).fileName()});
        if (!args.contains("-o"))
            QVERIFY2(QRegularExpression("^Join_file_\\d{9}\\.mp4$")
                         .match(QFileInfo(result).fileName())
                         .hasMatch(),
                     qPrintable(result));
        CheckResult(result, seconds, size);
        QTEST(TestMedia::StreamValues(result, "a:0", "sample_rate").join(','), "sampleRate");
    }

    void jobList()
    {
        JobList list;
        list.hasMode = true;
        list.mode = CutMode::Exact;
        list.entries = {{media("a.mp4"), 1 * kSecond, 3 * kSecond, 0, false},
                        {media("gone.mp4"), 0, -1, 0, false},
                        {media("c.mkv"), 2 * kSecond, -1, 0, true}};
        const QString path = media("list.json");
        QString error;
        QVERIFY2(JobListFile::Write(path, list, &error), qPrintable(error));
        const Outcome run = Run({"run", path, "-o", out("list.mkv")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY2(run.err.contains(QStringLiteral("skipped: %1 (not found)").arg(media("gone.mp4"))),
                 qPrintable(run.err));
        CheckResult(out("list.mkv"), 4.0, "640x360");

        list.entries = {{media("gone.mp4"), 0, -1, 0, false}};
        QVERIFY(JobListFile::Write(path, list, &error));
        const Outcome empty = Run({"run", path, "-o", out("none.mp4")});
        QCOMPARE(empty.exitCode, 1);
        QVERIFY2(empty.err.contains("nothing is left"), qPrintable(empty.err));
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named"); // a piece of the one-line error
        QTest::newRow("no command") << QStringList{} << "Usage: splicora-cli";
        QTest::newRow("bad time") << QStringList{"cut",     "m:a.mp4", "--start",
                                                 "1:2:3:4", "-o",      "o:x.mp4"}
                                  << "bad time '1:2:3:4'";
        QTest::newRow("end before start")
            << QStringList{"cut", "m:a.mp4", "--start", "3", "--end", "2"} << "not after";
        QTest::newRow("start past the file")
            << QStringList{"cut", "m:a.mp4", "--start", "7", "-o", "o:x.mp4"} << "a.mp4";
        QTest::newRow("end past the file")
            << QStringList{"join", "m:a.mp4@1-9", "m:b.mp4"} << "past the end of a.mp4";
        QTest::newRow("no such track") << QStringList{"join", "m:a.mp4#2"} << "no #2";
        QTest::newRow("wrong suffix")
            << QStringList{"cut", "m:a.mp4", "-o", "o:x.mkv"} << "does not end in .mp4";
        QTest::newRow("unknown option") << QStringList{"join", "m:a.mp4", "--fast"} << "'--fast'";
    }
    void badUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        const Outcome run = Run(expand(args));
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(named), qPrintable(run.err));
        QVERIFY2(run.err.contains(QRegularExpression("^usage: splicora-cli ",
                                                     QRegularExpression::MultilineOption)) ||
                     args.isEmpty(),
                 qPrintable(run.err));
        QCOMPARE(outFiles(), QStringList());
    }

    void existingOutput()
    {
        const QString mine = out("mine.mp4");
        QFile file(mine);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        const QByteArray before = TestMedia::FileMd5(mine);

        const Outcome kept = Run({"cut", media("a.mp4"), "--end", "2", "-o", mine});
        QCOMPARE(kept.exitCode, 1);
        QVERIFY2(kept.err.contains(mine), qPrintable(kept.err));
        QCOMPARE(TestMedia::FileMd5(mine), before);

        const Outcome replaced =
            Run({"cut", media("a.mp4"), "--end", "2", "-o", mine, "--overwrite"});
        QVERIFY2(replaced.exitCode == 0, qPrintable(replaced.err));
        QCOMPARE(replaced.out.trimmed(), mine);
        CheckResult(mine, 2.0, "320x240");
        QCOMPARE(outFiles(), QStringList{"mine.mp4"}); // no work file beside it
    }

    void progressLines()
    {
        const QString result = out("progress.mp4");
        const Outcome run = Run(
            {"join", media("a.mp4") + "@0.5-5", media("b.mp4"), "-o", result, "--progress=json"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.err, QString());
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 3);
        double last = 0;
        QJsonObject object;
        for (const QString& line : lines) {
            QJsonParseError error;
            object = QJsonDocument::fromJson(line.toUtf8(), &error).object();
            QVERIFY2(error.error == QJsonParseError::NoError && object["phase"].isString() &&
                         object["percent"].isDouble() && object["elapsed"].isDouble(),
                     qPrintable(line));
            QVERIFY2(object["percent"].toDouble() >= last, qPrintable(line));
            last = object["percent"].toDouble();
        }
        QCOMPARE(object["phase"].toString(), QStringLiteral("done"));
        QCOMPARE(object["percent"].toDouble(), 100.0);
        QCOMPARE(object["result"].toString(), result);
        CheckResult(result, 8.5, "320x240");

        const Outcome quiet = Run({"cut", media("b.mp4"), "--end", "1", "-o", out("q.mp4"), "-q"});
        QCOMPARE(quiet.exitCode, 0);
        QCOMPARE(quiet.out + quiet.err, QString());
        QVERIFY(QFileInfo(out("q.mp4")).isFile());
    }

    void interrupted_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("SIGINT") << int(SIGINT) << 130;
        QTest::newRow("SIGTERM") << int(SIGTERM) << 143;
    }
    void interrupted()
    {
        QFETCH(int, signal);
        const QString result = out("stopped.mp4");
        QProcess process;
        process.start(QStringLiteral(SPLICORA_CLI), {"join", media("long.mp4"), media("long.mkv"),
                                                     "-o", result, "--progress=json"});
        // Once the engine re-encodes, a tool is writing the result.
        QByteArray printed;
        QVERIFY(QTest::qWaitFor(
            [&] {
                printed += process.readAllStandardOutput();
                return printed.contains("\"phase\":\"encoding\"") ||
                       process.state() == QProcess::NotRunning;
            },
            60000));
        QVERIFY2(process.state() == QProcess::Running, printed.constData());
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo::exists(result); }, 30000));
        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QTEST(process.exitCode(), "exitCode");
        printed += process.readAllStandardOutput();
        QVERIFY2(printed.trimmed().endsWith("\"error\":\"The job was cancelled.\"}"),
                 printed.constData());
        // Neither a part of the result nor a tool still writing one.
        QCOMPARE(outFiles(), QStringList());
        QCOMPARE(TestMedia::ProcessesNamed("ffmpeg", m_out.path()), QList<qint64>());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
