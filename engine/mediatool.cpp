#include "engine/mediatool.h"

#include "app/rationaltext.h"
#include "engine/joingraph.h"
#include "engine/orvelane.h"
#include "media/childprocess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef _WIN32
#include <iterator>
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace Engine {

namespace {

constexpr int ProbeTimeoutMs = 10000;

#ifdef _WIN32
const QString ToolSuffix = QStringLiteral(".exe");
#else
const QString ToolSuffix;
#endif

int64_t SecondsTextToUs(const QJsonValue& value)
{
    bool ok = false;
    const double seconds = value.toString().toDouble(&ok);
    // Beyond the engine's limit the conversion to microseconds could overflow.
    if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds * 1e6 > double(MaxDurationUs))
        return 0;
    return static_cast<int64_t>(std::llround(seconds * 1e6));
}

int IntText(const QJsonValue& value)
{
    if (value.isDouble())
        return value.toInt();
    return value.toString().toInt();
}

int32_t ReadInt(const void* block, int offset)
{
    return qFromLittleEndian<qint32>(static_cast<const char*>(block) + offset);
}

void WriteInt(void* block, int offset, int32_t value)
{
    qToLittleEndian<qint32>(value, static_cast<char*>(block) + offset);
}

} // namespace

QString LibraryFolder()
{
#ifdef _WIN32
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&Orvelane_GetInfo), &module))
        return QString();
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(module, buffer, DWORD(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer))
        return QString();
    return QFileInfo(QString::fromWCharArray(buffer, int(length))).absolutePath();
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Orvelane_GetInfo), &info) == 0 || !info.dli_fname)
        return QString();
    return QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath();
#endif
}

QString FfmpegPath()
{
    const QString folder = LibraryFolder();
    if (!folder.isEmpty()) {
        const QString beside = folder + QStringLiteral("/ffmpeg") + ToolSuffix;
        const QFileInfo file(beside);
        if (file.exists() && file.isExecutable())
            return beside;
    }
    return QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
}

QString FfprobePath()
{
    const QString ffmpeg = FfmpegPath();
    if (!ffmpeg.isEmpty()) {
        // The application folder holds a link to the system tool; its probe
        // sits beside the link's target, not beside the link.
        const QString real = QFileInfo(ffmpeg).canonicalFilePath();
        if (!real.isEmpty()) {
            const QString beside =
                QFileInfo(real).absolutePath() + QStringLiteral("/ffprobe") + ToolSuffix;
            const QFileInfo file(beside);
            if (file.exists() && file.isExecutable())
                return beside;
        }
    }
    return QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
}

bool ProbeFile(const QString& path, MediaFacts* facts)
{
    const QString ffprobe = FfprobePath();
    if (ffprobe.isEmpty()) {
        qDebug("engine: no ffprobe found");
        return false;
    }
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    ChildProcess::DieWithParent(process); // this thread waits for it below
    process.start(ffprobe, {QStringLiteral("-v"), QStringLiteral("error"),
                            QStringLiteral("-show_streams"), QStringLiteral("-show_format"),
                            QStringLiteral("-of"), QStringLiteral("json"), path});
    const QDeadlineTimer deadline(ProbeTimeoutMs);
    if (!process.waitForStarted(int(deadline.remainingTime())))
        return false;
    if (!process.waitForFinished(int(std::max<qint64>(1, deadline.remainingTime())))) {
        process.kill();
        process.waitForFinished();
        qDebug("engine: probing %s timed out", qUtf8Printable(path));
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return false;

    const QJsonObject root = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    MediaFacts result;
    int64_t longestStream = 0;
    const QJsonArray streams = root.value(QStringLiteral("streams")).toArray();
    for (const QJsonValue& value : streams) {
        const QJsonObject stream = value.toObject();
        const QString type = stream.value(QStringLiteral("codec_type")).toString();
        const int64_t streamDuration = SecondsTextToUs(stream.value(QStringLiteral("duration")));
        if (type == QLatin1String("video")) {
            // Cover art is a picture stream, but nothing to play.
            const QJsonObject disposition = stream.value(QStringLiteral("disposition")).toObject();
            if (disposition.value(QStringLiteral("attached_pic")).toInt() == 1)
                continue;
            longestStream = std::max(longestStream, streamDuration);
            if (result.hasVideo)
                continue;
            result.hasVideo = true;
            result.width = stream.value(QStringLiteral("width")).toInt();
            result.height = stream.value(QStringLiteral("height")).toInt();
            if (!ParseRationalText(stream.value(QStringLiteral("avg_frame_rate")).toString(),
                                   &result.rateNum, &result.rateDen) &&
                !ParseRationalText(stream.value(QStringLiteral("r_frame_rate")).toString(),
                                   &result.rateNum, &result.rateDen)) {
                result.rateNum = 25;
                result.rateDen = 1;
            }
        } else if (type == QLatin1String("audio")) {
            longestStream = std::max(longestStream, streamDuration);
            if (result.audioCount++ == 0) {
                result.hasAudio = true;
                result.sampleRate = IntText(stream.value(QStringLiteral("sample_rate")));
                result.channels = stream.value(QStringLiteral("channels")).toInt();
            }
        }
    }
    if (!result.hasVideo && !result.hasAudio)
        return false;
    const QJsonObject format = root.value(QStringLiteral("format")).toObject();
    result.durationUs = SecondsTextToUs(format.value(QStringLiteral("duration")));
    if (result.durationUs <= 0)
        result.durationUs = longestStream;
    *facts = result;
    return true;
}

MediaFacts FactsFromBlock(const void* block)
{
    MediaFacts facts;
    const int flags = ReadInt(block, OrvelaneInfoOffsetFlags);
    facts.hasVideo = (flags & 1) != 0;
    facts.hasAudio = (flags & 2) != 0;
    facts.durationUs =
        qFromLittleEndian<qint64>(static_cast<const char*>(block) + OrvelaneInfoOffsetDuration);
    facts.width = ReadInt(block, OrvelaneInfoOffsetWidth);
    facts.height = ReadInt(block, OrvelaneInfoOffsetHeight);
    facts.rateNum = ReadInt(block, OrvelaneInfoOffsetRateNum);
    facts.rateDen = ReadInt(block, OrvelaneInfoOffsetRateDen);
    facts.sampleRate = ReadInt(block, OrvelaneInfoOffsetSampleRate);
    facts.channels = ReadInt(block, OrvelaneInfoOffsetChannels);
    facts.audioCount = ReadInt(block, OrvelaneInfoOffsetAudioCount);
    facts.audioTrack = ReadInt(block, OrvelaneInfoOffsetAudioTrack);
    return facts;
}

void FactsToBlock(const MediaFacts& facts, void* block)
{
    std::memset(block, 0, OrvelaneInfoSize);
    WriteInt(block, OrvelaneInfoOffsetSize, OrvelaneInfoSize);
    WriteInt(block, OrvelaneInfoOffsetFlags, (facts.hasVideo ? 1 : 0) | (facts.hasAudio ? 2 : 0));
    qToLittleEndian<qint64>(facts.durationUs,
                            static_cast<char*>(block) + OrvelaneInfoOffsetDuration);
    WriteInt(block, OrvelaneInfoOffsetWidth, facts.width);
    WriteInt(block, OrvelaneInfoOffsetHeight, facts.height);
    WriteInt(block, OrvelaneInfoOffsetRateNum, facts.rateNum);
    WriteInt(block, OrvelaneInfoOffsetRateDen, facts.rateDen);
    WriteInt(block, OrvelaneInfoOffsetSampleRate, facts.sampleRate);
    WriteInt(block, OrvelaneInfoOffsetChannels, facts.channels);
    WriteInt(block, OrvelaneInfoOffsetAudioCount, facts.audioCount);
    WriteInt(block, OrvelaneInfoOffsetAudioTrack, 0);
}

} // namespace Engine
