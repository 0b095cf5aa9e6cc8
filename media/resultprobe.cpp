#include "media/resultprobe.h"

#include "media/childprocess.h"
#include "media/frameindex.h"

#include <QLibrary>
#include <QProcess>
#include <QThreadPool>

#include <atomic>
#include <mutex>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

constexpr int kProbeTimeoutMs = 30000;

// The three calls a check needs, resolved at run time so that the program
// starts without the libraries.
struct FormatApi
{
    decltype(&avformat_open_input) openInput = nullptr;
    decltype(&avformat_find_stream_info) findStreamInfo = nullptr;
    decltype(&avformat_close_input) closeInput = nullptr;

    bool usable() const { return openInput && findStreamInfo && closeInput; }
};

FormatApi LoadFormatApi()
{
    FormatApi api;
    // The major version the headers were built for: another one lays its
    // structures out differently.
    static QLibrary library(QStringLiteral("avformat"), LIBAVFORMAT_VERSION_MAJOR);
    if (!library.load()) {
        qDebug("result check falls back to the prober: %s", qUtf8Printable(library.errorString()));
        return api;
    }
    api.openInput =
        reinterpret_cast<decltype(api.openInput)>(library.resolve("avformat_open_input"));
    api.findStreamInfo = reinterpret_cast<decltype(api.findStreamInfo)>(
        library.resolve("avformat_find_stream_info"));
    api.closeInput =
        reinterpret_cast<decltype(api.closeInput)>(library.resolve("avformat_close_input"));
    return api;
}

const FormatApi& Api()
{
    static const FormatApi api = LoadFormatApi();
    return api;
}

QString TypeName(AVMediaType type)
{
    switch (type) {
    case AVMEDIA_TYPE_VIDEO:
        return QStringLiteral("video");
    case AVMEDIA_TYPE_AUDIO:
        return QStringLiteral("audio");
    case AVMEDIA_TYPE_SUBTITLE:
        return QStringLiteral("subtitle");
    default:
        return QStringLiteral("data");
    }
}

} // namespace

QByteArray RunProber(const QStringList& arguments, bool* ok)
{
    QProcess process;
    // This thread waits for the prober, so it may end with the thread.
    ChildProcess::DieWithParent(process);
    process.start(FfprobePath(), arguments, QIODevice::ReadOnly);
    const bool done = process.waitForFinished(kProbeTimeoutMs);
    if (!done)
        process.kill();
    *ok = done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return process.readAllStandardOutput();
}

ResultFacts ProbeResultFileWithProgram(const QString& path)
{
    ResultFacts facts;
    bool ok = false;
    const QByteArray output =
        RunProber({QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                   QStringLiteral("format=duration:stream=codec_type"), QStringLiteral("-of"),
                   QStringLiteral("compact"), QStringLiteral("file:") + path},
                  &ok);
    if (!ok)
        return facts;
    for (const QString& line : QString::fromUtf8(output).split(QLatin1Char('\n'))) {
        QMap<QString, QString> fields;
        const QString section = ParseProbeLine(line.trimmed(), &fields);
        if (section == QLatin1String("stream"))
            facts.streamTypes << fields.value(QStringLiteral("codec_type"));
        bool number = false;
        const double seconds = fields.value(QStringLiteral("duration")).toDouble(&number);
        if (section == QLatin1String("format") && number && seconds > 0) {
            facts.duration = qint64(seconds * 1e6);
            facts.readable = true;
        }
    }
    return facts;
}

namespace {
std::atomic<bool> g_inProcess{true};
} // namespace

void SetResultProbeInProcess(bool inProcess)
{
    g_inProcess = inProcess;
}

ResultFacts ProbeResultFile(const QString& path)
{
    if (!g_inProcess)
        return ProbeResultFileWithProgram(path);
    const FormatApi& api = Api();
    if (!api.usable())
        return ProbeResultFileWithProgram(path);
    ResultFacts facts;
    AVFormatContext* context = nullptr;
    // "file:" so that a name with a colon is never read as a protocol.
    const QByteArray url = (QStringLiteral("file:") + path).toUtf8();
    if (api.openInput(&context, url.constData(), nullptr, nullptr) < 0)
        return facts;
    // Containers with an index in their header (mp4, mov, Matroska) say the
    // length and the kind of every stream once opened. Reading on would
    // decode frames, with a decoder thread and picture buffers per core,
    // only to learn what the header said.
    bool known = context->duration != AV_NOPTS_VALUE && context->duration > 0;
    for (unsigned i = 0; known && i < context->nb_streams; ++i)
        known = context->streams[i]->codecpar->codec_type != AVMEDIA_TYPE_UNKNOWN &&
                context->streams[i]->duration != AV_NOPTS_VALUE;
    if ((known || api.findStreamInfo(context, nullptr) >= 0) &&
        context->duration != AV_NOPTS_VALUE && context->duration > 0) {
        facts.readable = true;
        facts.duration = context->duration; // AV_TIME_BASE is microseconds
        for (unsigned i = 0; i < context->nb_streams; ++i)
            facts.streamTypes << TypeName(context->streams[i]->codecpar->codec_type);
    }
    api.closeInput(&context);
    return facts;
}

void PreloadResultProbe()
{
    static std::once_flag started;
    std::call_once(started, [] { QThreadPool::globalInstance()->start([] { Api(); }); });
}
