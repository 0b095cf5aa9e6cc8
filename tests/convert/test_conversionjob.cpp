// The conversion core on its own, as the window and the command line drive
// it: items from generated media, one job, its result checked with ffprobe.
// No widget is made.
#include "app/appfolder.h"
#include "convert/conversionjob.h"
#include "media/childprocess.h"
#include "media/frameindex.h"
#include "media/probe.h"
#include "media/workfolder.h"
#include "testsupport/testmedia.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

constexpr qint64 kSecond = 1000000;
using Phase = ConversionJob::Phase;

// An item as a list row would make it: probed, the chosen track's facts, a
// range in seconds (a negative end: to the end of the file).
ConvertItem Item(const QString& path, double start = 0, double end = -1, int track = 0)
{
    ConvertItem item;
    ProbeResult probe;
    if (RunProbe(path, &probe) != 0)
        return item;
    FillMediaInfo(item.mediaInfo, path, probe.durationLine, probe.videoStreamLines,
                  probe.audioStreamLines, probe.audioStreamTitles);
    SelectAudioTrack(item.mediaInfo, track);
    item.filePath = path;
    item.audioTrackIndex = track;
    item.cutStart = qint64(start * kSecond);
    item.cutEnd = end < 0 ? item.mediaInfo.duration : qint64(end * kSecond);
    return item;
}

struct Outcome
{
    bool ok = false;
    QString message;
    QString note;
    int ends = 0;
};

} // namespace

class TestConversionJob : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    std::unique_ptr<QTemporaryDir> m_out;

    QString media(const QString& name) const { return m_media.filePath(name); }
    QStringList outputFiles() const
    {
        return QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden);
    }
    QString onlyResult() const
    {
        const QStringList files = outputFiles();
        return files.size() == 1 ? m_out->filePath(files.first()) : QString();
    }
    bool workFolderIsClean() const { return QDir(WorkFolder()).entryList({"job-*"}).isEmpty(); }

    // Runs the job to its end; every job must end exactly once.
    static Outcome run(ConversionJob& job, int timeoutMs = 120000)
    {
        Outcome outcome;
        connect(&job, &ConversionJob::finished, &job,
                [&outcome](bool ok, const QString& message, const QString& note) {
                    outcome = {ok, message, note, outcome.ends + 1};
                });
        job.start();
        if (!QTest::qWaitFor([&] { return outcome.ends > 0; }, timeoutMs))
            outcome.message = QStringLiteral("<no end>");
        QTest::qWait(50); // a second end would arrive here
        return outcome;
    }
    std::unique_ptr<ConversionJob> job(const QList<ConvertItem>& items, int format = 0,
                                       CutMode mode = CutMode::Exact)
    {
        auto made = std::make_unique<ConversionJob>();
        made->setItems(items, format);
        made->setOutputFolder(m_out->path());
        made->setCutMode(mode);
        return made;
    }

private Q_SLOTS:
    void initTestCase()
    {
        TestMedia::UseBuildAppFolder();
        QVERIFY(TestMedia::MakeClip(media("ten.mp4"), 10.0));
        for (const char* name : {"s1.mp4", "s2.mp4", "s3.mp4"})
            QVERIFY(TestMedia::MakeClip(media(name), 6.0));
        QVERIFY(TestMedia::MakeClip(media("v1.mp4"), 3.0, 320, 240, 25, true, 0));
        QVERIFY(TestMedia::MakeClip(media("v2.mp4"), 2.0, 320, 240, 25, true, 0));
        for (const char* name : {"a1.mp3", "a2.mp3"})
            QVERIFY(TestMedia::MakeClip(media(name), 3.0, 0, 0, 0, false, 1));
        QVERIFY(TestMedia::RunFfmpeg({"-f", "lavfi", "-i", "sine=sample_rate=8000:duration=2",
                                      "-c:a", "libmp3lame", "-b:a", "8k", media("tone.mp3")}));
        QVERIFY(TestMedia::MakeClip(media("long1.mp4"), 12.0, 640, 360, 30));
        QVERIFY(TestMedia::MakeClip(media("long2.mp4"), 12.0, 320, 240, 25));
    }

    void init()
    {
        TestMedia::UseBuildAppFolder();
        m_out = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        TestMedia::KillProcessesNamed(QStringLiteral("ffmpeg"), m_out->path());
        m_out.reset();
    }

    // Lossless: ranges on keyframes are one pass of the media tool; a start
    // between keyframes is encoded in a step of its own first.
    void losslessCutsAndJoins_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QList<double>>("ranges"); // start, end per file
        QTest::addColumn<QStringList>("streams");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QList<int>>("steps");
        QTest::newRow("join of three on keyframes")
            << QStringList{"s1.mp4", "s2.mp4", "s3.mp4"}
            << QList<double>{1.0, 3.0, 0.0, 1.5, 2.0, 6.0} << QStringList{"video", "audio"} << 7.5
            << QList<int>{0};
        QTest::newRow("exact cut between keyframes")
            << QStringList{"ten.mp4"} << QList<double>{2.3, 5.0} << QStringList{"video", "audio"}
            << 2.7 << QList<int>{1, 0};
        QTest::newRow("two MP3s") << QStringList{"a1.mp3", "a2.mp3"} << QList<double>{}
                                  << QStringList{"audio"} << 6.0 << QList<int>{0};
        QTest::newRow("video only") << QStringList{"v1.mp4", "v2.mp4"} << QList<double>{}
                                    << QStringList{"video"} << 5.0 << QList<int>{0};
    }

    void losslessCutsAndJoins()
    {
        QFETCH(QStringList, files);
        QFETCH(QList<double>, ranges);
        QFETCH(QStringList, streams);
        QFETCH(double, seconds);
        QFETCH(QList<int>, steps);
        QList<ConvertItem> items;
        for (int i = 0; i < files.size(); ++i) {
            items << (ranges.isEmpty() ? Item(media(files[i]))
                                       : Item(media(files[i]), ranges[2 * i], ranges[2 * i + 1]));
        }
        auto conversion = job(items);
        QList<int> seenSteps;
        QList<Phase> phases;
        QList<int> progress;
        connect(conversion.get(), &ConversionJob::toolStepStarted, this,
                [&](int step) { seenSteps << step; });
        connect(conversion.get(), &ConversionJob::phaseChanged, this,
                [&](Phase phase) { phases << phase; });
        connect(conversion.get(), &ConversionJob::progressChanged, this,
                [&](int value) { progress << value; });
        const Outcome outcome = run(*conversion);
        QVERIFY2(outcome.ok, qPrintable(outcome.message));
        QCOMPARE(outcome.ends, 1);
        QVERIFY(!conversion->usesEngine());
        QCOMPARE(seenSteps, steps);
        QCOMPARE(phases.first(), Phase::Preparing);
        QCOMPARE(phases.last(), Phase::Done);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(conversion->progress(), 10000);

        const QString result = onlyResult();
        QCOMPARE(conversion->outputFile(), result);
        QVERIFY2(QRegularExpression("/Join_file_\\d{9}\\.(mp4|mp3)$").match(result).hasMatch(),
                 qPrintable(result));
        QCOMPARE(TestMedia::StreamTypes(result), streams);
        QVERIFY2(qAbs(TestMedia::DurationSeconds(result) - seconds) <= 0.15,
                 qPrintable(QString::number(TestMedia::DurationSeconds(result))));
        QVERIFY(workFolderIsClean());
    }

    void differentFormatsAreReencoded()
    {
        // The second item, wider and faster, gives the format.
        auto conversion = job({Item(media("long2.mp4"), 1.0, 11.0), Item(media("long1.mp4"))}, 1);
        QCOMPARE(conversion->profile().width, 640);
        QList<int> progress;
        connect(conversion.get(), &ConversionJob::progressChanged, this,
                [&](int value) { progress << value; });
        const Outcome outcome = run(*conversion);
        QVERIFY2(outcome.ok, qPrintable(outcome.message));
        QVERIFY(conversion->usesEngine());
        QVERIFY2(
            std::any_of(progress.begin(), progress.end(), [](int v) { return v > 0 && v < 10000; }),
            "no progress before the end");
        const QString result = onlyResult();
        QCOMPARE(TestMedia::StreamValues(result, "v:0", "width,height,r_frame_rate"),
                 (QStringList{"640", "360", "30/1"}));
        QVERIFY2(qAbs(TestMedia::DurationSeconds(result) - 22.0) <= 0.3,
                 qPrintable(QString::number(TestMedia::DurationSeconds(result))));
    }

    // Cancelled in any phase: one end that says so, no result, no work
    // file, no tool left running.
    void cancelLeavesNothing_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("phase");
        QTest::newRow("preparing") << QStringList{"s1.mp4", "s2.mp4"} << int(Phase::Preparing);
        QTest::newRow("cutting") << QStringList{"s1.mp4", "s2.mp4"} << int(Phase::Cutting);
        QTest::newRow("joining") << QStringList{"s1.mp4", "s2.mp4"} << int(Phase::Joining);
        QTest::newRow("encoding") << QStringList{"long1.mp4", "long2.mp4"} << int(Phase::Encoding);
    }

    void cancelLeavesNothing()
    {
        QFETCH(QStringList, files);
        QFETCH(int, phase);
        QList<ConvertItem> items;
        for (const QString& name : files)
            items << Item(media(name), 0.5, 5.5);
        auto conversion = job(items);
        ConversionJob* raw = conversion.get();
        if (phase == int(Phase::Encoding)) {
            // Once the engine has begun writing the result.
            QTimer* poll = new QTimer(raw);
            connect(poll, &QTimer::timeout, raw, [this, raw] {
                if (!outputFiles().isEmpty())
                    raw->cancel();
            });
            poll->start(20);
        } else {
            connect(raw, &ConversionJob::phaseChanged, raw, [raw, phase](Phase now) {
                // Preparing begins inside start(); the job is under way
                // once the event loop has run.
                if (int(now) == phase)
                    QTimer::singleShot(0, raw, &ConversionJob::cancel);
            });
        }
        const Outcome outcome = run(*conversion, 60000);
        QCOMPARE(outcome.ends, 1);
        QVERIFY(!outcome.ok);
        QCOMPARE(outcome.message, ConversionJob::CancelledMessage());
        QVERIFY(conversion->wasCancelled());
        QVERIFY2(outputFiles().isEmpty(), qPrintable(outputFiles().join('|')));
        QVERIFY(conversion->outputFile().isEmpty());
        QVERIFY(workFolderIsClean());
        QVERIFY(!conversion->toolProcess() ||
                conversion->toolProcess()->state() == QProcess::NotRunning);
        QVERIFY(ChildProcess::ChildrenNamed("ffmpeg", m_out->path()).isEmpty());
    }

    // A job that goes wrong says why and leaves no result; one whose input
    // runs out early keeps the shorter result and names the file.
    void faultsAreReportedNotHidden_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("kept");
        QTest::newRow("file deleted before") << "deleted"
                                             << "can no longer be read" << false;
        QTest::newRow("file deleted while joining") << "deleted mid-job"
                                                    << "can no longer be read" << false;
        QTest::newRow("tool killed") << "killed"
                                     << "stopped unexpectedly" << false;
        QTest::newRow("output folder full") << "full"
                                            << "not enough room" << false;
        QTest::newRow("file cut short") << "truncated"
                                        << "ended early" << true;
        QTest::newRow("no media tool") << "no tool"
                                       << "could not be started" << false;
        QTest::newRow("result too small") << "tiny"
                                          << "Conversion failed." << false;
    }

    void faultsAreReportedNotHidden()
    {
        QFETCH(QString, fault);
        QFETCH(QString, expected);
        QFETCH(bool, kept);
        QTemporaryDir own;
        const QString middle = own.filePath("middle.mp4");
        // Sound and picture interleaved from the start, so that a file cut
        // short still opens and plays up to where it was cut.
        QVERIFY(TestMedia::RunFfmpeg(
            {"-i", media("long2.mp4"), "-c", "copy", "-movflags", "+faststart", middle}));
        QList<ConvertItem> items{Item(media("s1.mp4"), 0, 2), Item(middle), Item(media("s2.mp4"))};
        if (fault == "tiny") // 20 ms at 8 kb/s: a few hundred bytes
            items = {Item(media("tone.mp3"), 0.0, 0.02)};
        auto conversion = job(items);
        QTemporaryDir bare;
        const QByteArray path = qgetenv("PATH");
        struct rlimit old
        {
        };
        if (fault == "deleted") {
            QVERIFY(QFile::remove(middle));
        } else if (fault == "truncated") {
            // Cut short after it was listed and its keyframes read, as a
            // file still being copied would be.
            FrameIndexCache::instance()->request(middle);
            QTRY_VERIFY_WITH_TIMEOUT(FrameIndexCache::instance()->contains(middle), 30000);
            QFile file(middle);
            QVERIFY(file.resize(file.size() * 2 / 5));
        } else if (fault == "deleted mid-job" || fault == "killed") {
            ConversionJob* raw = conversion.get();
            connect(raw, &ConversionJob::toolStepStarted, raw, [raw, fault, middle](int step) {
                if (step != 0)
                    return;
                if (fault == "killed")
                    ::kill(pid_t(raw->toolProcess()->processId()), SIGKILL);
                else
                    QFile::remove(middle);
            });
        } else if (fault == "full") {
            // Writes past 300 KB fail as they would on a full disk.
            getrlimit(RLIMIT_FSIZE, &old);
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit small = old;
            small.rlim_cur = 300 * 1024;
            setrlimit(RLIMIT_FSIZE, &small);
        } else if (fault == "no tool") {
            // The keyframes are known; from here on no media tool is found.
            for (const ConvertItem& item : std::as_const(items))
                FrameIndexCache::instance()->request(item.filePath);
            QTRY_VERIFY_WITH_TIMEOUT(!FrameIndexCache::instance()->isBusy(), 30000);
            SetAppFolder(bare.path());
            qputenv("PATH", bare.path().toUtf8());
        }
        const Outcome outcome = run(*conversion);
        if (fault == "full")
            setrlimit(RLIMIT_FSIZE, &old);
        qputenv("PATH", path);
        TestMedia::UseBuildAppFolder();
        QCOMPARE(outcome.ends, 1);
        QCOMPARE(outcome.ok, kept);
        const QString text = kept ? outcome.note : outcome.message;
        QVERIFY2(text.contains(expected), qPrintable(text));
        QCOMPARE(outputFiles().size(), kept ? 1 : 0);
        if (kept) {
            // 2 s of s1, what is left of the middle one and all 6 s of s2:
            // the file after the broken one is not lost with it. The note
            // names the broken file and the whole shortfall.
            const QString result = onlyResult();
            const double length = TestMedia::DurationSeconds(result);
            QVERIFY2(length > 2.0 + 2.0 + 6.0 && length < 2.0 + 12.0 + 6.0 - 1.0,
                     qPrintable(QString::number(length)));
            QCOMPARE(TestMedia::DecodeErrors(result), QString());
            const QRegularExpression note("\"middle.mp4\" ended early .* (\\d+\\.\\d) s shorter");
            const QRegularExpressionMatch match = note.match(text);
            QVERIFY2(match.hasMatch(), qPrintable(text));
            QVERIFY2(qAbs(match.captured(1).toDouble() - (20.0 - length)) <= 0.2, qPrintable(text));
        }
        QVERIFY(workFolderIsClean());
    }

    // The engine's tool killed from outside, or stuck without progress: the
    // job ends with a message rather than waiting for ever.
    void engineFaultsEndTheJob_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tool killed") << int(SIGKILL) << "stopped before the result was complete";
        QTest::newRow("tool stalled") << int(SIGSTOP) << "stopped making progress";
    }

    void engineFaultsEndTheJob()
    {
        QFETCH(int, signal);
        QFETCH(QString, expected);
        auto conversion = job({Item(media("long1.mp4")), Item(media("long2.mp4"))});
        conversion->setEngineStallTimeout(1500);
        ConversionJob* raw = conversion.get();
        QTimer poll;
        connect(&poll, &QTimer::timeout, raw, [&] {
            const QList<qint64> tools = ChildProcess::ChildrenNamed("ffmpeg", m_out->path());
            if (!tools.isEmpty() && !outputFiles().isEmpty()) {
                ::kill(pid_t(tools.first()), signal);
                poll.stop();
            }
        });
        poll.start(20);
        const Outcome outcome = run(*conversion, 30000);
        QCOMPARE(outcome.ends, 1);
        QVERIFY2(outcome.message.startsWith("Conversion failed.\n") &&
                     outcome.message.contains(expected),
                 qPrintable(outcome.message));
        QVERIFY2(outputFiles().isEmpty(), qPrintable(outputFiles().join('|')));
        QVERIFY(ChildProcess::ChildrenNamed("ffmpeg", m_out->path()).isEmpty());
    }

    // The job's messages reach the user in the window's language: a text
    // hidden from the translation tools would stay English.
    void messagesAreTranslated()
    {
        QTranslator german;
        QVERIFY(german.load(AppFolder() + "/Lang/Kelvane/Lang_DE.qm"));
        QCoreApplication::installTranslator(&german);
        const QString folder = ConversionJob::OutputFolderProblem(m_out->filePath("missing"));
        const QString file = ConversionJob::OutputFileProblem(m_media.filePath("ten.mp4"), false);
        QCoreApplication::removeTranslator(&german);
        QVERIFY2(folder.startsWith("Der Ausgabeordner"), qPrintable(folder));
        QVERIFY2(file.contains("bereits vorhanden"), qPrintable(file));
    }

    // A file the user has is never replaced by a job, unless replacing it is
    // asked for; then only by a finished result, and a failed job keeps it.
    void existingFilesAreKept_data()
    {
        QTest::addColumn<QString>("target"); // "": the folder's naming rule
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<bool>("breakJob");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("named result taken") << "" << false << false << false;
        QTest::newRow("chosen file, no overwrite") << "mine.mp4" << false << false << false;
        QTest::newRow("chosen file, overwrite") << "mine.mp4" << true << false << true;
        QTest::newRow("overwrite, failing job") << "mine.mp4" << true << true << false;
        QTest::newRow("link to nowhere, overwrite") << "link.mp4" << true << false << false;
    }

    void existingFilesAreKept()
    {
        QFETCH(QString, target);
        QFETCH(bool, overwrite);
        QFETCH(bool, breakJob);
        QFETCH(bool, replaced);
        const QDateTime fixed(QDate(2026, 12, 6), QTime(10, 15, 0, 123));
        const QString taken =
            m_out->filePath(target.isEmpty() ? "Join_file_101500123.mp4" : target);
        QFile precious(target == "link.mp4" ? m_out->filePath("elsewhere") : taken);
        QVERIFY(precious.open(QIODevice::WriteOnly));
        precious.write("the user's own file");
        precious.close();
        // Nothing is written through a link, even one that leads nowhere yet.
        if (target == "link.mp4") {
            QVERIFY(QFile::link(m_out->filePath("nowhere/elsewhere"), taken));
            QVERIFY(QFile::rename(precious.fileName(), m_out->filePath("kept")));
            precious.setFileName(m_out->filePath("kept"));
        }

        QTemporaryDir own;
        const QString source = own.filePath("source.mp4");
        QVERIFY(QFile::copy(media("ten.mp4"), source));
        auto conversion = job({Item(source, 0.0, 2.0)});
        conversion->setClock([fixed] { return fixed; });
        if (!target.isEmpty())
            conversion->setOutputFile(taken, overwrite);
        if (breakJob)
            QVERIFY(QFile::remove(source));
        const Outcome outcome = run(*conversion);
        QCOMPARE(outcome.ok, replaced || target.isEmpty());
        QVERIFY(precious.open(QIODevice::ReadOnly));
        QCOMPARE(precious.readAll() == "the user's own file", !replaced);
        precious.close();
        if (replaced)
            QVERIFY(qAbs(TestMedia::DurationSeconds(taken) - 2.0) < 0.1);
        if (target.isEmpty())
            QCOMPARE(conversion->outputFile(), m_out->filePath("Join_file_101500123(0).mp4"));
        if (!target.isEmpty() && (!overwrite || target == "link.mp4"))
            QVERIFY2(outcome.message.contains("already exists"), qPrintable(outcome.message));
        if (target == "link.mp4")
            QVERIFY(QFileInfo(taken).isSymLink() && !QFileInfo::exists(taken));
        // Nothing but the user's file and the one result (a broken link is
        // no file to list).
        QCOMPARE(outputFiles().size(), target.isEmpty() ? 2 : 1);
    }
};

QTEST_GUILESS_MAIN(TestConversionJob)
#include "test_conversionjob.moc"
