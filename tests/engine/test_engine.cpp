// The engine library as the program uses it: loaded at run time, driven only
// through its ten C functions, judged by the files it writes.

#include "convert/convertparams.h"
#include "engine/orvelane.h"
#include "media/childprocess.h"
#include "media/probe.h"
#include "testsupport/testmedia.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <csignal>
#include <limits>
#include <unistd.h>

namespace {

// Every engine function, as "name, member" pairs.
#define ENGINE_FUNCTIONS(X)                                                                        \
    X(Orvelane_GetInfo, getInfo)                                                                   \
    X(Quillet_AddFile, addFile)                                                                    \
    X(Quillet_SetItemTime, setItemTime)                                                            \
    X(Quillet_DelItem, delItem)                                                                    \
    X(Orvelane_ConvertAll, convertAll)                                                             \
    X(Orvelane_Convert_SetConvertEndCallBackFun, setCallback)                                      \
    X(Orvelane_Convert_GetDuration, duration)                                                      \
    X(Orvelane_Convert_GetCurrentTime, currentTime)                                                \
    X(Orvelane_Convert_Abort, abort)                                                               \
    X(Orvelane_Convert_Destroy, destroy)

struct Api
{
#define ENGINE_MEMBER(name, member) decltype(&name) member = nullptr;
    ENGINE_FUNCTIONS(ENGINE_MEMBER)
#undef ENGINE_MEMBER
};

struct EndCall
{
    int handle;
    int flags;
    bool onHostThread;
};

QMutex g_callsMutex;
QList<EndCall> g_calls;
QThread* g_hostThread = nullptr;

void OnEnd(int handle, int flags)
{
    QMutexLocker lock(&g_callsMutex);
    g_calls.append({handle, flags, QThread::currentThread() == g_hostThread});
}

QList<EndCall> CallsFor(int handle)
{
    QMutexLocker lock(&g_callsMutex);
    QList<EndCall> calls;
    for (const EndCall& call : std::as_const(g_calls))
        if (call.handle == handle)
            calls.append(call);
    return calls;
}

constexpr qint64 Second = 1000000;
constexpr qint64 Min64 = std::numeric_limits<qint64>::min();
constexpr qint64 Max64 = std::numeric_limits<qint64>::max();
constexpr qint32 Min32 = std::numeric_limits<qint32>::min();
constexpr qint32 Max32 = std::numeric_limits<qint32>::max();
constexpr int ConvertTimeoutMs = 120000;

MediaInfo Format(const char* suffix, const char* video, int width, int height, const char* audio,
                 const char* sampleRate = "48000 Hz")
{
    MediaInfo info;
    info.suffix = suffix;
    info.videoCodec = video;
    info.width = width;
    info.height = height;
    info.frameRateText = *video ? QStringLiteral("30 fps") : QString();
    info.audioCodec = audio;
    info.sampleRateText = sampleRate;
    info.channelsText = QStringLiteral("stereo");
    info.audioBitRateText = QStringLiteral(" 128 kb/s ");
    return info;
}

// The facts the list would hold for `path`, read by the program's own probe.
MediaInfo Probed(const QString& path)
{
    ProbeResult probe;
    MediaInfo info;
    if (RunProbe(path, &probe, 20000) == 0)
        FillMediaInfo(info, path, probe.durationLine, probe.videoStreamLines,
                      probe.audioStreamLines);
    return info;
}

MediaInfo Mp4Format()
{
    return Format("mp4", "h264", 640, 360, "aac");
}

MediaInfo Mp3Format()
{
    return Format("mp3", "", 0, 0, "mp3", "44100 Hz");
}

// The mean loudness of the file's sound in dB (about -91 for silence).
double MeanVolume(const QString& path)
{
    QProcess ffmpeg;
    ffmpeg.start(TestMedia::Ffmpeg(), {"-hide_banner", "-nostdin", "-i", path, "-af",
                                       "volumedetect", "-f", "null", "-"});
    ffmpeg.waitForFinished(60000);
    const auto match = QRegularExpression(QStringLiteral("mean_volume: (-?[0-9.]+) dB"))
                           .match(QString::fromUtf8(ffmpeg.readAllStandardError()));
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

} // namespace

Q_DECLARE_METATYPE(MediaInfo)

class TestEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        g_hostThread = QThread::currentThread();
        if (TestMedia::Ffmpeg().isEmpty() || TestMedia::Ffprobe().isEmpty())
            QSKIP("ffmpeg and ffprobe are needed");
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("out")));

        m_library.setFileName(qEnvironmentVariable("SPLICORA_APP_DIR") +
                              QStringLiteral("/libOrvelane.so"));
        QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
#define ENGINE_RESOLVE(name, member)                                                               \
    m_api.member = reinterpret_cast<decltype(m_api.member)>(m_library.resolve(#name));             \
    QVERIFY2(m_api.member, #name);
        ENGINE_FUNCTIONS(ENGINE_RESOLVE)
#undef ENGINE_RESOLVE

        QVERIFY(TestMedia::MakeClip(media("small.mp4"), 3, 320, 240, 25));
        QVERIFY(TestMedia::MakeClip(media("wide.mp4"), 3, 640, 360, 30));
        QVERIFY(TestMedia::MakeClip(media("mute.mp4"), 2, 320, 240, 25, true, 0));
        QVERIFY(TestMedia::MakeClip(media("two.mkv"), 2, 320, 240, 25, true, 2));
        QVERIFY(TestMedia::MakeClip(media("long.mp4"), 20, 640, 360, 30));
        QVERIFY(TestMedia::MakeClip(media("first.mp3"), 2, 0, 0, 0, false));
        QVERIFY(TestMedia::MakeClip(media("second.mp3"), 3, 0, 0, 0, false));
        // Track 0 silent, track 1 loud: the output's loudness tells which was used.
        const QString sources =
            QStringLiteral("-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 "
                           "-f lavfi -i anullsrc=r=48000:cl=stereo:d=2 "
                           "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=2 "
                           "-map 0:v -map 1:a -map 2:a -c:v libx264 -preset ultrafast "
                           "-c:a aac -shortest");
        QVERIFY(TestMedia::RunFfmpeg(sources.split(QLatin1Char(' ')) << media("tracks.mp4")));
        QFile text(media("notes.mp4"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("This is a shopping list, not a film.\n");
    }
    void cleanup()
    {
        for (int id : std::as_const(m_items))
            m_api.delItem(id);
        m_items.clear();
    }

    void info_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("audioCount");
        QTest::addColumn<double>("seconds");
        QTest::newRow("two sound tracks") << "two.mkv" << 3 << QSize(320, 240) << 25 << 2 << 2.0;
        QTest::newRow("no sound") << "mute.mp4" << 1 << QSize(320, 240) << 25 << 0 << 2.0;
        QTest::newRow("sound only") << "second.mp3" << 2 << QSize(0, 0) << 0 << 1 << 3.0;
    }
    void info()
    {
        QFETCH(QString, file);
        const QByteArray block = infoOf(media(file));
        QVERIFY(!block.isEmpty());
        const auto at = [&block](int offset) {
            return qFromLittleEndian<qint32>(block.data() + offset);
        };
        QTEST(at(OrvelaneInfoOffsetFlags), "flags");
        QTEST(QSize(at(OrvelaneInfoOffsetWidth), at(OrvelaneInfoOffsetHeight)), "size");
        QTEST(at(OrvelaneInfoOffsetAudioCount), "audioCount");
        QFETCH(int, rate);
        if (rate > 0)
            QCOMPARE(double(at(OrvelaneInfoOffsetRateNum)) / at(OrvelaneInfoOffsetRateDen), rate);
        if (at(OrvelaneInfoOffsetAudioCount) > 0) {
            QCOMPARE(at(OrvelaneInfoOffsetSampleRate), 44100); // the first track's
            QVERIFY(at(OrvelaneInfoOffsetChannels) >= 1);
        }
        QCOMPARE(at(OrvelaneInfoOffsetAudioTrack), 0);
        QFETCH(double, seconds);
        const qint64 duration =
            qFromLittleEndian<qint64>(block.data() + OrvelaneInfoOffsetDuration);
        QVERIFY2(qAbs(duration - qint64(seconds * Second)) < Second / 10,
                 qPrintable(QString::number(duration)));
    }
    void unreadableFiles()
    {
        QVERIFY(infoOf(media("notes.mp4")).isEmpty());
        QVERIFY(infoOf(media("missing.mp4")).isEmpty());
        // A block of the wrong size is never written to.
        QByteArray small(OrvelaneInfoSize, '\0');
        qToLittleEndian<qint32>(64, small.data());
        QCOMPARE(m_api.getInfo(media("wide.mp4").toUtf8().constData(), small.data(), 0), -1);
        QCOMPARE(m_api.addFile(media("wide.mp4").toUtf8().constData(), small.constData(), 0), -1);
    }

    // Sizes and frame rates differ: the result takes the block's size and rate.
    void join()
    {
        const qint64 total = 4 * Second;
        QVERIFY(add(media("small.mp4"), Second / 2, 5 * Second / 2) > 0);
        QVERIFY(add(media("wide.mp4"), Second, 3 * Second) > 0);

        const QString result = output(QStringLiteral("join.mp4"));
        const int handle = convert(result, Mp4Format());
        QVERIFY(handle >= 1);
        QCOMPARE(m_api.duration(handle), total);

        // Progress as the host polls it: never backwards, ending near the total.
        m_api.setCallback(handle, &OnEnd);
        qint64 last = 0;
        QElapsedTimer guard; // only keeps a hung run from looping forever
        guard.start();
        while (CallsFor(handle).isEmpty() && guard.elapsed() < ConvertTimeoutMs) {
            const qint64 now = m_api.currentTime(handle);
            QVERIFY2(now >= last && now <= total,
                     qPrintable(QStringLiteral("%1 after %2").arg(now).arg(last)));
            last = now;
            QTest::qWait(20);
        }
        QVERIFY(m_api.currentTime(handle) > total - Second / 4);
        QCOMPARE(finish(handle), 0);

        QCOMPARE(TestMedia::StreamTypes(result), QStringList({"video", "audio"}));
        QCOMPARE(TestMedia::StreamValues(result, QStringLiteral("v:0"),
                                         QStringLiteral("width,height,avg_frame_rate")),
                 QStringList({"640", "360", "30/1"}));
        QVERIFY(qAbs(TestMedia::DurationSeconds(result) - double(total) / Second) < 0.2);
    }
    void otherFormats_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<MediaInfo>("format");
        QTest::addColumn<QStringList>("streams");

        const auto row = [](const char* name, const char* first, const char* second,
                            const MediaInfo& format, const QStringList& streams) {
            QTest::newRow(name) << QString(first) << QString(second) << format.suffix << format
                                << streams;
        };
        row("webm", "small.mp4", "wide.mp4", Format("webm", "vp8", 320, 240, "vorbis"),
            {"video", "audio"});
        row("mp3", "first.mp3", "second.mp3", Mp3Format(), {"audio"});
    }
    void otherFormats()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, suffix);
        QFETCH(MediaInfo, format);
        QVERIFY(add(media(first), 0, Second) > 0);
        QVERIFY(add(media(second), Second / 2, 2 * Second) > 0);

        const QString result =
            output(QStringLiteral("other-%1.%2").arg(QTest::currentDataTag(), suffix));
        QCOMPARE(finish(convert(result, format)), 0);
        QTEST(TestMedia::StreamTypes(result), "streams");
        QVERIFY(qAbs(TestMedia::DurationSeconds(result) - 2.5) < 0.2);
        if (format.videoCodec.isEmpty())
            return;
        QCOMPARE(
            TestMedia::StreamValues(result, QStringLiteral("v:0"), QStringLiteral("width,height")),
            QStringList({"320", "240"}));
    }
    void audioTrackChoice_data()
    {
        QTest::addColumn<int>("track");
        QTest::addColumn<bool>("loud");
        QTest::newRow("silent first track") << 0 << false;
        QTest::newRow("tone second track") << 1 << true;
    }
    void audioTrackChoice()
    {
        QFETCH(int, track);
        QFETCH(bool, loud);
        QVERIFY(add(media("tracks.mp4"), 0, 0, track) > 0);
        const QString result = output(QStringLiteral("track-%1.mp3").arg(QTest::currentDataTag()));
        QCOMPARE(finish(convert(result, Mp3Format())), 0);
        const double volume = MeanVolume(result);
        QVERIFY2(loud ? volume > -40 : volume < -80, qPrintable(QString::number(volume)));
    }

    // The result keeps the output-format file's container, codecs, size,
    // rate and sound, as the Profile line shows them.
    void profileKept_data()
    {
        QTest::addColumn<QString>("format");    // lavfi arguments of the output-format file
        QTest::addColumn<QString>("other");     // ... and of a file joined after it
        QTest::addColumn<QStringList>("video"); // codec, width, height, rate; empty: none
        QTest::addColumn<QStringList>("audio"); // codec, sample rate, channels; empty: none

        const QString picture =
            QStringLiteral("-f lavfi -i testsrc2=size=%1:rate=%2:duration=1.5 ");
        const QString tone =
            QStringLiteral("-f lavfi -i sine=frequency=440:sample_rate=%1:duration=1.5 ");
        const QString clip = picture.arg("176x144", "25") + tone.arg(48000) +
                             "-ac 2 -c:v libx264 -preset ultrafast -c:a aac -shortest other.mp4";
        QTest::newRow("mov hevc")
            << picture.arg("320x240", "30") + tone.arg(44100) +
                   "-ac 2 -c:v libx265 -preset ultrafast -tag:v hvc1 -c:a aac -shortest format.mov"
            << clip << QStringList{"hevc", "320", "240", "30/1"}
            << QStringList{"aac", "44100", "2"};
        QTest::newRow("webm vp8 15 fps")
            << picture.arg("320x240", "15") + tone.arg(44100) +
                   "-ac 2 -c:v libvpx -deadline realtime -c:a libvorbis -shortest format.webm"
            << clip << QStringList{"vp8", "320", "240", "15/1"}
            << QStringList{"vorbis", "44100", "2"};
        QTest::newRow("aac mono")
            << picture.arg("320x240", "25") + tone.arg(44100) +
                   "-ac 1 -c:v libx264 -preset ultrafast -c:a aac -shortest format.mp4"
            << clip << QStringList{"h264", "320", "240", "25/1"}
            << QStringList{"aac", "44100", "1"};
        QTest::newRow("audio only") << tone.arg(44100) + "-ac 2 -c:a libmp3lame format.mp3" << clip
                                    << QStringList() << QStringList{"mp3", "44100", "2"};
        QTest::newRow("silent format, sound kept")
            << picture.arg("320x240", "25") + "-c:v libx264 -preset ultrafast format.mp4" << clip
            << QStringList{"h264", "320", "240", "25/1"} << QStringList{"aac", "48000", "2"};
    }
    void profileKept()
    {
        QFETCH(QString, format);
        QFETCH(QString, other);
        QTemporaryDir dir;
        const auto made = [&dir](const QString& arguments) {
            QStringList args = arguments.split(QLatin1Char(' '));
            const QString path = dir.filePath(args.takeLast());
            return TestMedia::RunFfmpeg(args << path) ? path : QString();
        };
        const QString formatFile = made(format);
        const QString otherFile = made(other);
        QVERIFY(!formatFile.isEmpty() && !otherFile.isEmpty());
        const MediaInfo formatInfo = Probed(formatFile);
        const OutputProfile profile = OutputProfileFor(formatInfo, {formatInfo, Probed(otherFile)});

        QVERIFY(add(otherFile, 0, Second) > 0);
        QVERIFY(add(formatFile, 0, Second) > 0);
        const QString result = dir.filePath(QStringLiteral("result.") + formatInfo.suffix);
        const QByteArray block = EngineParameterBlock(result, profile);
        QCOMPARE(finish(m_api.convertAll(block.constData(), 0, 0)), 0);

        const QStringList video = TestMedia::StreamValues(
            result, QStringLiteral("v"), QStringLiteral("codec_name,width,height,r_frame_rate"));
        const QStringList audio = TestMedia::StreamValues(
            result, QStringLiteral("a"), QStringLiteral("codec_name,sample_rate,channels"));
        // The figures a reader can hold side by side.
        qInfo("Profile \"%s | %s\" gave video [%s] audio [%s]",
              qPrintable(ProfileVideoText(profile)), qPrintable(ProfileAudioText(profile)),
              qPrintable(video.join(QLatin1Char(' '))), qPrintable(audio.join(QLatin1Char(' '))));
        QTEST(video, "video");
        QTEST(audio, "audio");
        QCOMPARE(ProfileVideoText(profile).isEmpty(), video.isEmpty());
        QCOMPARE(ProfileAudioText(profile).isEmpty(), audio.isEmpty());
        QVERIFY(qAbs(TestMedia::DurationSeconds(result) - 2.0) < 0.2);
        // The joined file's tone is in the result, not silence in its place.
        if (!audio.isEmpty())
            QVERIFY(MeanVolume(result) > -40.0);
    }
    void abortStopsTheTool()
    {
        QVERIFY(add(media("long.mp4"), 0, 0) > 0);
        const QString result = output(QStringLiteral("aborted.mp4"));
        const int handle = convert(result, Mp4Format());
        QVERIFY(handle >= 1);
        m_api.setCallback(handle, &OnEnd);
        QTRY_VERIFY_WITH_TIMEOUT(m_api.currentTime(handle) > 0, ConvertTimeoutMs);
        QVERIFY(CallsFor(handle).isEmpty()); // still running, or the abort proves nothing
        m_api.abort(handle);
        QTRY_VERIFY_WITH_TIMEOUT(!CallsFor(handle).isEmpty(), ConvertTimeoutMs);
        QVERIFY(ChildProcess::ChildrenNamed(QStringLiteral("ffmpeg")).isEmpty());
        QCOMPARE(finish(handle), 1);
        QVERIFY(QFile::exists(result)); // the host removes it
    }
    void refusals()
    {
        const QString existing = output(QStringLiteral("precious.mp4"));
        QVERIFY(QFile::copy(media("small.mp4"), existing));
        QFile original(existing);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray bytes = original.readAll();
        original.close();

        // No items yet.
        QCOMPARE(convert(output(QStringLiteral("nothing.mp4")), Mp4Format()), 0);

        QVERIFY(add(media("small.mp4"), 0, Second) > 0);
        QCOMPARE(convert(existing, Mp4Format()), 0);
        QTest::qWait(500); // time for any wrongly started tool to touch the file
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), bytes);

        QByteArray block = EngineParameterBlock(output(QStringLiteral("bad.mp4")),
                                                OutputProfileFor(Mp4Format(), {}));
        qToLittleEndian<qint32>(ConvertParams::BlockSize - 1, block.data());
        QCOMPARE(m_api.convertAll(block.constData(), 0, 0), 0);
        QVERIFY(!QFile::exists(output(QStringLiteral("bad.mp4"))));
    }
    // Values no media file has are refused where they come in, never
    // computed with: differences and sums of them would overflow.
    void impossibleFactsAreRefused_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<qint64>("value");
        const auto row = [](const char* name, int offset, qint64 value) {
            QTest::newRow(name) << offset << value;
        };
        row("length INT64_MIN", OrvelaneInfoOffsetDuration, Min64);
        row("length INT64_MAX", OrvelaneInfoOffsetDuration, Max64);
        row("width negative", OrvelaneInfoOffsetWidth, -320);
        row("height INT_MAX", OrvelaneInfoOffsetHeight, Max32);
        row("frame rate negative", OrvelaneInfoOffsetRateNum, -25);
        row("sample rate INT_MIN", OrvelaneInfoOffsetSampleRate, Min32);
        row("sound streams INT_MIN", OrvelaneInfoOffsetAudioCount, Min32);
    }
    void impossibleFactsAreRefused()
    {
        QFETCH(int, offset);
        QFETCH(qint64, value);
        QByteArray block = infoOf(media("small.mp4"));
        QVERIFY(!block.isEmpty());
        if (offset == OrvelaneInfoOffsetDuration)
            qToLittleEndian<qint64>(value, block.data() + offset);
        else
            qToLittleEndian<qint32>(qint32(value), block.data() + offset);
        const int id = m_api.addFile(media("small.mp4").toUtf8().constData(), block.constData(), 0);
        if (id > 0)
            m_items.append(id);
        QCOMPARE(id, -1);
    }
    void impossibleOutputIsRefused_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");
        QTest::newRow("frame rate 0") << ConvertParams::OffsetFrameRateNum << 0;
        QTest::newRow("frame rate negative") << ConvertParams::OffsetFrameRateNum << -30;
        QTest::newRow("rate denominator INT_MIN") << ConvertParams::OffsetFrameRateDen << Min32;
        QTest::newRow("a million frames a second") << ConvertParams::OffsetFrameRateNum << 1000000;
        QTest::newRow("width INT_MAX") << ConvertParams::OffsetWidth << Max32;
        QTest::newRow("height negative") << ConvertParams::OffsetHeight << -480;
        QTest::newRow("sample rate INT_MAX") << ConvertParams::OffsetSampleRate << Max32;
        QTest::newRow("sample rate negative") << ConvertParams::OffsetSampleRate << -44100;
    }
    void impossibleOutputIsRefused()
    {
        QFETCH(int, offset);
        QFETCH(int, value);
        QVERIFY(add(media("small.mp4"), 0, Second) > 0);
        QTemporaryDir out;
        const QString result = out.filePath(QStringLiteral("refused.mp4"));
        QByteArray block = EngineParameterBlock(result, OutputProfileFor(Mp4Format(), {}));
        qToLittleEndian<qint32>(value, block.data() + offset);
        const int handle = m_api.convertAll(block.constData(), 0, 0);
        if (handle > 0)
            m_api.destroy(handle);
        QCOMPARE(handle, 0);
        QVERIFY(!QFile::exists(result));
    }
    // Ranges the host asks for are clamped to the file; one that keeps
    // nothing of a file of known length is refused.
    void rangesAreClamped_data()
    {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("end");
        QTest::addColumn<qint64>("kept"); // -1: the whole file; 0: refused
        QTest::newRow("widest") << Min64 << Max64 << qint64(-1);
        QTest::newRow("start after end") << 2 * Second << Second << qint64(-1) - 2 * Second;
        QTest::newRow("negative start") << -5 * Second << Second << Second;
        QTest::newRow("both past the end") << Max64 << Max64 << qint64(0);
        QTest::newRow("both at INT64_MIN") << Min64 << Min64 << qint64(-1);
    }
    void rangesAreClamped()
    {
        QFETCH(qint64, start);
        QFETCH(qint64, end);
        QFETCH(qint64, kept);
        const QByteArray block = infoOf(media("small.mp4"));
        const qint64 whole = qFromLittleEndian<qint64>(block.data() + OrvelaneInfoOffsetDuration);
        // "-1 - x": the whole file less x.
        const qint64 expected = kept < 0 ? whole + kept + 1 : kept;
        QVERIFY(add(media("small.mp4"), start, end) > 0);
        QTemporaryDir out;
        const int handle = convert(out.filePath(QStringLiteral("range.mp4")), Mp4Format());
        const qint64 total = handle > 0 ? m_api.duration(handle) : 0;
        if (handle > 0)
            m_api.destroy(handle);
        QCOMPARE(handle > 0, expected > 0);
        QCOMPARE(total, expected);
    }
    // Files whose length the host does not know: the widest range means "to
    // the end", and no total is made up from it.
    void unknownLengthsDoNotOverflow()
    {
        QByteArray block = infoOf(media("small.mp4"));
        qToLittleEndian<qint64>(0, block.data() + OrvelaneInfoOffsetDuration);
        for (int i = 0; i < 2; ++i) {
            const int id =
                m_api.addFile(media("small.mp4").toUtf8().constData(), block.constData(), 0);
            QVERIFY(id > 0);
            m_items.append(id);
            m_api.setItemTime(id, Min64, Max64);
        }
        QTemporaryDir out;
        const QString result = out.filePath(QStringLiteral("unknown.mp4"));
        const int handle = convert(result, Mp4Format());
        QVERIFY(handle > 0);
        QCOMPARE(m_api.duration(handle), qint64(0));
        QCOMPARE(finish(handle), 0);
        // Both files, each to its end.
        QVERIFY2(qAbs(TestMedia::DurationSeconds(result) - 6.0) < 0.3,
                 qPrintable(QString::number(TestMedia::DurationSeconds(result))));
    }
    void failedRunLeavesNoFile()
    {
        const QString doomed = media("doomed.mp4");
        QVERIFY(QFile::copy(media("small.mp4"), doomed));
        QVERIFY(add(media("wide.mp4"), 0, Second) > 0);
        QVERIFY(add(doomed, 0, Second) > 0);
        QVERIFY(QFile::remove(doomed));

        const QString result = output(QStringLiteral("failed.mp4"));
        QCOMPARE(finish(convert(result, Mp4Format())), -1);
        QVERIFY(!QFile::exists(result));
    }
    // A program killed outright cannot stop its conversion; the tool must not
    // go on writing without it.
    void killedHostTakesItsToolAlong()
    {
        QTemporaryDir out;
        const QString result = out.filePath(QStringLiteral("orphan.mp4"));
        QProcess host;
        host.start(QStringLiteral(ENGINE_HOST),
                   {m_library.fileName(), media("long.mp4"), result, QStringLiteral("1920x1080")});
        QVERIFY(host.waitForStarted());
        // A failed run must not leave the tool behind for later tests.
        const auto reap = qScopeGuard(
            [&out] { TestMedia::KillProcessesNamed(QStringLiteral("ffmpeg"), out.path()); });
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += host.readAllStandardOutput()).contains("started"), 30000);
        // The engine's tool is writing.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(result).size() > 0, ConvertTimeoutMs);
        QCOMPARE(TestMedia::ProcessesNamed(QStringLiteral("ffmpeg"), out.path()).size(), 1);

        ::kill(pid_t(host.processId()), SIGKILL);
        QVERIFY(host.waitForFinished());
        const auto orphans = [&out] {
            return TestMedia::ProcessesNamed(QStringLiteral("ffmpeg"), out.path()).size();
        };
        QTRY_COMPARE_WITH_TIMEOUT(orphans(), 0, 3000);
        const qint64 size = QFileInfo(result).size();
        QTest::qWait(500); // an absence: nothing may write to the file any more
        QCOMPARE(QFileInfo(result).size(), size);
    }
    void lateCallbackStillRuns()
    {
        QVERIFY(add(media("small.mp4"), 0, Second) > 0);
        const QString result = output(QStringLiteral("late.mp4"));
        const int handle = convert(result, Mp4Format());
        QVERIFY(handle >= 1);
        // The tool is gone and its file is there: the conversion is over.
        QTRY_VERIFY_WITH_TIMEOUT(
            QFile::exists(result) &&
                ChildProcess::ChildrenNamed(QStringLiteral("ffmpeg")).isEmpty(),
            ConvertTimeoutMs);
        QTest::qWait(200);
        QCOMPARE(finish(handle), 0);
        QVERIFY(qAbs(TestMedia::DurationSeconds(result) - 1.0) < 0.2);
    }

private:
    QString media(const QString& name) const
    {
        return m_dir.filePath(name);
    }
    QString output(const QString& name) const
    {
        return m_dir.filePath(QStringLiteral("out/") + name);
    }
    QByteArray infoOf(const QString& path)
    {
        QByteArray block(OrvelaneInfoSize, '\0');
        qToLittleEndian<qint32>(OrvelaneInfoSize, block.data());
        if (m_api.getInfo(path.toUtf8().constData(), block.data(), 0) != 0)
            return {};
        return block;
    }
    int add(const QString& path, qint64 start, qint64 end, int track = 0)
    {
        QByteArray block = infoOf(path);
        if (block.isEmpty())
            return -1;
        qToLittleEndian<qint32>(track, block.data() + OrvelaneInfoOffsetAudioTrack);
        const int id = m_api.addFile(path.toUtf8().constData(), block.constData(), 0);
        if (id > 0) {
            m_items.append(id);
            m_api.setItemTime(id, start, end);
        }
        return id;
    }
    int convert(const QString& outputFile, const MediaInfo& format)
    {
        const QByteArray block = EngineParameterBlock(outputFile, OutputProfileFor(format, {}));
        return block.isEmpty() ? 0 : m_api.convertAll(block.constData(), 0, 0);
    }
    // Waits for the end, frees the job and returns the flags of the one call.
    int finish(int handle)
    {
        m_api.setCallback(handle, &OnEnd);
        const bool ended =
            QTest::qWaitFor([handle] { return !CallsFor(handle).isEmpty(); }, ConvertTimeoutMs);
        m_api.destroy(handle);
        if (!ended)
            return -101; // never called
        const QList<EndCall> calls = CallsFor(handle);
        if (calls.size() != 1 || calls.first().onHostThread)
            return -100; // not once, or from inside a host call
        return calls.first().flags;
    }

    QTemporaryDir m_dir;
    QLibrary m_library;
    Api m_api;
    QList<int> m_items;
};

QTEST_GUILESS_MAIN(TestEngine)
#include "test_engine.moc"
