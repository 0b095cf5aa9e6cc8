// Cuts and joins of one format through the lossless job, on a corpus made at
// test time: each result is checked with the prober for its length, its first
// frame, clean decoding, increasing packet times and the chosen sound track.
#include "convert/losslessjob.h"
#include "media/frameindex.h"
#include "media/mediainfo.h"
#include "media/probe.h"
#include "media/resultprobe.h"
#include "testsupport/testmedia.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr qint64 kSecond = 1000000;
constexpr double kFrame = 0.04; // every picture of the corpus runs at 25 fps

struct Range
{
    double start;
    double end;
};

} // namespace

class TestExactCuts : public QObject
{
    Q_OBJECT

    QTemporaryDir m_media;
    QTemporaryDir m_work;
    std::unique_ptr<QTemporaryDir> m_out;

    QString media(const QString& name) const { return m_media.filePath(name); }

    static bool MakeSource(const QString& path, const QStringList& codecArgs, int seconds = 10,
                           int tracks = 1)
    {
        QStringList args{"-f", "lavfi", "-i",
                         QStringLiteral("testsrc2=s=320x240:r=25:d=%1").arg(seconds)};
        for (int t = 0; t < tracks; ++t)
            args << "-f"
                 << "lavfi"
                 << "-i"
                 << QStringLiteral("sine=f=%1:sample_rate=%2:d=%3")
                        .arg(440 + 220 * t)
                        .arg(t == 0 ? 44100 : 48000)
                        .arg(seconds);
        if (!codecArgs.contains("-vn"))
            args << "-map"
                 << "0:v";
        for (int t = 0; t < tracks; ++t)
            args << "-map" << QStringLiteral("%1:a").arg(t + 1);
        return TestMedia::RunFfmpeg(args + codecArgs + QStringList{path}, 120000);
    }

    // The probed facts a list row would hold for `path`.
    static bool Facts(const QString& path, MediaInfo* info)
    {
        ProbeResult probe;
        if (RunProbe(path, &probe, 10000) != 0)
            return false;
        FillMediaInfo(*info, path, probe.durationLine, probe.videoStreamLines,
                      probe.audioStreamLines);
        return true;
    }

    struct Outcome
    {
        bool finished = false;
        bool ok = false;
        QString message;
        QString note;
        QString reencode;
        QList<ItemCutPlan> plans;
    };

    Outcome run(const QString& file, const QList<Range>& ranges, CutMode mode, QString* output,
                int track = 0)
    {
        Outcome outcome;
        MediaInfo info;
        if (!Facts(file, &info))
            return outcome;
        QList<ConvertItem> items;
        int id = 1;
        for (const Range& range : ranges) {
            ConvertItem item;
            item.filePath = file;
            item.mediaInfo = info;
            item.cutStart = qint64(range.start * kSecond);
            item.cutEnd = qint64(range.end * kSecond);
            item.audioTrackIndex = track;
            item.itemId = id++;
            items << item;
        }
        *output = m_out->filePath(QStringLiteral("result.") + info.suffix);
        LosslessJob job(items, info, *output, mode, m_work.path());
        connect(&job, &LosslessJob::finished, this,
                [&](bool ok, const QString& message, const QString& note) {
                    outcome.finished = true;
                    outcome.ok = ok;
                    outcome.message = message;
                    outcome.note = note;
                });
        connect(&job, &LosslessJob::reencodeNeeded, this, [&](const QString& reason) {
            outcome.finished = true;
            outcome.reencode = reason;
        });
        job.start();
        (void)QTest::qWaitFor([&] { return outcome.finished; }, 240000);
        outcome.plans = job.plans();
        return outcome;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_media.isValid() && m_work.isValid());
        if (qEnvironmentVariableIsSet("SPLICORA_KEEP_WORK")) {
            m_media.setAutoRemove(false);
            m_work.setAutoRemove(false);
        }
        const QStringList h264{"-c:v", "libx264",     "-preset",  "veryfast",      "-g",
                               "50",   "-keyint_min", "50",       "-sc_threshold", "0",
                               "-bf",  "3",           "-pix_fmt", "yuv420p"};
        QVERIFY(MakeSource(media("h264.mp4"), h264 + QStringList{"-c:a", "aac"}));
        const QString x265 = "keyint=50:min-keyint=50:scenecut=0:log-level=error";
        QVERIFY(MakeSource(media("hevc.mov"), {"-c:v", "libx265", "-preset", "ultrafast",
                                               "-x265-params", x265 + ":open-gop=0", "-tag:v",
                                               "hvc1", "-pix_fmt", "yuv420p", "-c:a", "aac"}));
        QVERIFY(MakeSource(media("open.mov"),
                           {"-c:v", "libx265", "-preset", "ultrafast", "-x265-params",
                            x265 + ":open-gop=1", "-tag:v", "hvc1", "-c:a", "aac"},
                           6));
        QVERIFY(MakeSource(media("vp9.webm"), {"-c:v", "libvpx-vp9", "-g", "50", "-deadline",
                                               "realtime", "-cpu-used", "8", "-c:a", "libopus"}));
        QVERIFY(MakeSource(media("mpeg4.avi"),
                           {"-c:v", "mpeg4", "-g", "50", "-q:v", "4", "-c:a", "libmp3lame"}));
        QVERIFY(MakeSource(media("two tracks.mkv"), h264 + QStringList{"-c:a", "aac"}, 10, 2));
        QVERIFY(MakeSource(media("tone.mp3"), {"-vn", "-c:a", "libmp3lame", "-b:a", "64k"}));
    }

    void init() { m_out = std::make_unique<QTemporaryDir>(); }

    // The check of a finished result reads length and streams, and calls a
    // damaged or foreign file unreadable rather than failing with it.
    void resultCheck_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("readable");
        QTest::newRow("whole") << "" << true;
        QTest::newRow("cut short") << "truncate" << false;
        QTest::newRow("noise") << "noise" << false;
        QTest::newRow("empty") << "empty" << false;
    }

    void resultCheck()
    {
        QFETCH(QString, damage);
        QFETCH(bool, readable);
        const QString file = m_out->filePath("checked.mp4");
        QVERIFY(QFile::copy(media("h264.mp4"), file));
        QFile bytes(file);
        if (damage == "truncate") {
            // Without its index at the end, an mp4 cannot be read at all.
            QVERIFY(bytes.resize(bytes.size() / 2));
        } else if (damage == "noise" || damage == "empty") {
            QVERIFY(bytes.open(QIODevice::WriteOnly | QIODevice::Truncate));
            if (damage == "noise") {
                QByteArray junk(64 * 1024, '\0');
                for (qsizetype i = 0; i < junk.size(); ++i)
                    junk[i] = char((i * 7919) ^ (i >> 3));
                bytes.write(junk);
            }
            bytes.close();
        }
        const ResultFacts facts = ProbeResultFile(file);
        QCOMPARE(facts.readable, readable);
        // In process or through the prober program: the same answer.
        const ResultFacts reference = ProbeResultFileWithProgram(file);
        QCOMPARE(reference.readable, readable);
        if (readable) {
            QVERIFY2(qAbs(facts.duration - 10 * kSecond) < 50000,
                     qPrintable(QString::number(facts.duration)));
            QVERIFY2(
                qAbs(facts.duration - reference.duration) <= 1000,
                qPrintable(
                    QStringLiteral("%1 against %2").arg(facts.duration).arg(reference.duration)));
            QCOMPARE(facts.streamTypes, (QStringList{"video", "audio"}));
            QCOMPARE(reference.streamTypes, facts.streamTypes);
        }
    }

    // A file that takes the result's name while the job runs belongs to
    // somebody else: the job stops and leaves it as it was.
    void fileAtTheResultsNameIsLeftAlone()
    {
        QFile other(m_out->filePath("result.mp4"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("somebody else's");
        other.close();
        QString result;
        const Outcome outcome = run(media("h264.mp4"), {{3.3, 7.7}}, CutMode::Exact, &result);
        QVERIFY(outcome.finished && !outcome.ok);
        QVERIFY2(outcome.message.contains("appeared"), qPrintable(outcome.message));
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(other.readAll(), QByteArray("somebody else's"));
    }

    void cutsAndJoins_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<Range>>("ranges");
        QTest::addColumn<int>("track");
        const QList<Range> cut{{3.3, 7.7}};
        const QList<Range> join{{1.3, 4.1}, {0.0, 2.5}, {5.2, 9.0}};
        for (const char* file :
             {"h264.mp4", "hevc.mov", "vp9.webm", "mpeg4.avi", "two tracks.mkv", "tone.mp3"}) {
            for (const CutMode mode : {CutMode::Exact, CutMode::Keyframe}) {
                const QByteArray tag = QByteArray(file) + " " + CutModeText(mode).toLatin1();
                QTest::newRow(tag + " cut") << QString(file) << int(mode) << cut << 0;
                QTest::newRow(tag + " join") << QString(file) << int(mode) << join << 0;
            }
        }
        QTest::newRow("two tracks.mkv second track")
            << QString("two tracks.mkv") << int(CutMode::Exact) << cut << 1;
    }

    // Frames shown before their keyframe tie each group to the one before, so
    // a lossless cut cannot start there; the job hands such rows back for
    // encoding before it writes anything.
    void openGroupsAreReencoded_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("exact") << int(CutMode::Exact);
        QTest::newRow("keyframe") << int(CutMode::Keyframe);
    }

    void openGroupsAreReencoded()
    {
        QFETCH(int, mode);
        QString result;
        const Outcome outcome = run(media("open.mov"), {{1.3, 4.7}}, CutMode(mode), &result);
        QVERIFY(outcome.finished);
        QVERIFY2(outcome.reencode.contains("open groups"), qPrintable(outcome.reencode));
        QVERIFY(!QFileInfo::exists(result));
        QVERIFY(QDir(m_work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    void cutsAndJoins()
    {
        QFETCH(QString, file);
        QFETCH(int, mode);
        QFETCH(QList<Range>, ranges);
        QFETCH(int, track);
        const QString source = media(file);
        const CutMode cutMode = CutMode(mode);
        QString result;
        const Outcome outcome = run(source, ranges, cutMode, &result, track);
        QVERIFY2(outcome.finished, "the job did not end");
        QVERIFY2(outcome.reencode.isEmpty(), qPrintable(outcome.reencode));
        QVERIFY2(outcome.ok, qPrintable(outcome.message));
        QVERIFY2(outcome.note.isEmpty(), qPrintable(outcome.note));
        QCOMPARE(outcome.plans.size(), ranges.size());

        const bool video = !file.endsWith(".mp3");
        const FrameIndex index = FrameIndexCache::instance()->index(source);
        double expected = 0.0;
        for (int i = 0; i < ranges.size(); ++i) {
            const ItemCutPlan& plan = outcome.plans[i];
            const double start = plan.keptStart / 1e6;
            const double end = plan.keptEnd / 1e6;
            if (cutMode == CutMode::Exact || !video) {
                // The kept range is the chosen one, to the frame.
                QVERIFY2(qAbs(start - ranges[i].start) <= kFrame + 1e-6,
                         qPrintable(QString::number(start)));
                QVERIFY2(qAbs(end - ranges[i].end) <= kFrame + 1e-6,
                         qPrintable(QString::number(end)));
            } else {
                // Moved back to the keyframe at or before the start, and to
                // the end of a group of reordered frames at or before the end.
                const qint64 absolute = plan.keptStart + index.startTime;
                QVERIFY2(index.keyframePts.contains(absolute), qPrintable(QString::number(start)));
                const double firstFrame = (index.framePts.first() - index.startTime) / 1e6;
                QVERIFY2(start <= qMax(ranges[i].start, firstFrame) + kFrame / 2 &&
                             start > ranges[i].start - 2.5,
                         qPrintable(QString::number(start)));
                const double slack = index.reorderDelay > 0 ? 4 * kFrame : kFrame;
                QVERIFY2(end <= ranges[i].end + kFrame / 2 && end >= ranges[i].end - slack,
                         qPrintable(QString::number(end)));
            }
            expected += end - start;
        }

        const double joins = ranges.size();
        if (video) {
            const double span = TestMedia::StreamSpanSeconds(result, "v:0");
            QVERIFY2(
                qAbs(span - expected) <= kFrame * joins + 1e-3,
                qPrintable(QStringLiteral("picture %1 s, expected %2 s").arg(span).arg(expected)));
        }
        const double sound = TestMedia::StreamSpanSeconds(result, "a:0");
        QVERIFY2(qAbs(sound - expected) <= 0.030 * joins,
                 qPrintable(QStringLiteral("sound %1 s, expected %2 s").arg(sound).arg(expected)));

        QCOMPARE(TestMedia::DecodeErrors(result), QString());
        QString detail;
        QVERIFY2(TestMedia::PacketTimesIncrease(result, &detail), qPrintable(detail));
        if (file.endsWith(".mkv"))
            QCOMPARE(TestMedia::StreamValues(result, "a", "sample_rate"),
                     QStringList{track == 0 ? "44100" : "48000"});

        if (video) {
            // The first frame is the source's frame at the kept start, not
            // one of its neighbours.
            const double start = outcome.plans.first().keptStart / 1e6;
            const QByteArray first = TestMedia::GreyFrame(result, 0.0);
            const double here =
                TestMedia::FrameDifference(first, TestMedia::GreyFrame(source, start));
            for (const double other : {start - kFrame, start + kFrame}) {
                if (other < 0)
                    continue;
                const double there =
                    TestMedia::FrameDifference(first, TestMedia::GreyFrame(source, other));
                QVERIFY2(here < there, qPrintable(QStringLiteral("frame at %1 s matches better "
                                                                 "(%2 against %3)")
                                                      .arg(other)
                                                      .arg(there)
                                                      .arg(here)));
            }
        }
        // Nothing of the job stays in the work folder.
        QVERIFY(QDir(m_work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExactCuts)
#include "test_exactcuts.moc"
