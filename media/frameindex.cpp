#include "media/frameindex.h"

#include "app/platform.h"
#include "app/rationaltext.h"
#include "media/childprocess.h"
#include "media/workfolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMap>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A file that takes longer than this to index is treated as unreadable
// rather than left pending for ever.
constexpr int kIndexTimeoutMs = 120000;

qint64 SecondsTextToUs(const QString& text, bool* ok = nullptr)
{
    bool good = false;
    const double seconds = text.toDouble(&good);
    if (ok)
        *ok = good && std::isfinite(seconds);
    return good && std::isfinite(seconds) ? qint64(std::llround(seconds * 1e6)) : 0;
}

} // namespace

// Splits "section|key=value|key=value" into its section and fields, undoing
// the writer's escapes ("\\|", "\\n", "\\\\") inside values.
QString ParseProbeLine(const QString& line, QMap<QString, QString>* fields)
{
    QStringList parts{QString()};
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            const QChar next = line[++i];
            parts.last() += next == QLatin1Char('n')   ? QChar(QLatin1Char('\n'))
                            : next == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                            : next == QLatin1Char('t') ? QChar(QLatin1Char('\t'))
                                                       : next;
        } else if (c == QLatin1Char('|')) {
            parts.append(QString());
        } else {
            parts.last() += c;
        }
    }
    for (int i = 1; i < parts.size(); ++i) {
        const qsizetype eq = parts[i].indexOf(QLatin1Char('='));
        if (eq > 0)
            fields->insert(parts[i].left(eq), parts[i].mid(eq + 1));
    }
    return parts.value(0);
}

qint64 FrameIndex::frameDuration() const
{
    if (!hasVideo)
        return 0;
    if (rateNum > 0 && rateDen > 0)
        return qint64(std::llround(1e6 * rateDen / rateNum));
    if (framePts.size() < 2)
        return 40000;
    QMap<qint64, int> steps;
    for (qsizetype i = 1; i < framePts.size(); ++i)
        ++steps[framePts[i] - framePts[i - 1]];
    return std::max_element(steps.begin(), steps.end()).key();
}

QList<qint64> FrameIndex::keyframeTimes() const
{
    QList<qint64> times;
    times.reserve(keyframePts.size());
    for (const qint64 pts : keyframePts)
        times.append(pts - startTime);
    return times;
}

QStringList ExtradataArguments(const QString& path)
{
    // Only the stream's headers: a dump of every packet's data would take
    // minutes on a long file.
    return {QStringLiteral("-v"),
            QStringLiteral("error"),
            QStringLiteral("-select_streams"),
            QStringLiteral("v:0"),
            QStringLiteral("-show_entries"),
            QStringLiteral("stream=extradata"),
            QStringLiteral("-show_data"),
            QStringLiteral("-of"),
            QStringLiteral("compact"),
            QStringLiteral("file:") + path};
}

QByteArray ParseExtradata(const QByteArray& output)
{
    QMap<QString, QString> fields;
    ParseProbeLine(QString::fromUtf8(output).trimmed(), &fields);
    return ParseHexDump(fields.value(QStringLiteral("extradata")));
}

QStringList FrameIndexArguments(const QString& path)
{
    return {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
            QStringLiteral("v:0"), QStringLiteral("-show_entries"),
            QStringLiteral("format=start_time,duration:stream=codec_name,profile,level,pix_fmt,"
                           "codec_tag_string,width,height,time_base,avg_frame_rate,has_b_frames,"
                           "color_range,color_space,color_transfer,color_primaries:"
                           "packet=pts,dts,flags"),
            QStringLiteral("-of"), QStringLiteral("compact"),
            // A name that starts with "-" must not read as an option.
            QStringLiteral("file:") + path};
}

FrameIndex ParseFrameIndex(const QByteArray& output)
{
    FrameIndex index;
    bool sawFormat = false;
    double tbSeconds = 0.0;
    QList<std::pair<qint64, qint64>> raw; // pts, dts in ticks; INT64_MIN = none
    QList<bool> rawKey;
    const QList<QByteArray> lines = output.split('\n');
    for (const QByteArray& bytes : lines) {
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (line.isEmpty())
            continue;
        QMap<QString, QString> f;
        const QString section = ParseProbeLine(line, &f);
        if (section == QLatin1String("packet")) {
            bool okPts = false;
            bool okDts = false;
            const qint64 pts = f.value(QStringLiteral("pts")).toLongLong(&okPts);
            const qint64 dts = f.value(QStringLiteral("dts")).toLongLong(&okDts);
            raw.append({okPts ? pts : INT64_MIN, okDts ? dts : INT64_MIN});
            rawKey.append(f.value(QStringLiteral("flags")).startsWith(QLatin1Char('K')));
        } else if (section == QLatin1String("stream")) {
            index.hasVideo = true;
            index.codec = f.value(QStringLiteral("codec_name"));
            index.profile = f.value(QStringLiteral("profile"));
            index.level = f.value(QStringLiteral("level")).toInt();
            index.pixelFormat = f.value(QStringLiteral("pix_fmt"));
            index.codecTag = f.value(QStringLiteral("codec_tag_string"));
            index.width = f.value(QStringLiteral("width")).toInt();
            index.height = f.value(QStringLiteral("height")).toInt();
            index.reorderDelay = qMax(0, f.value(QStringLiteral("has_b_frames")).toInt());
            ParseRationalText(f.value(QStringLiteral("time_base")), &index.timeBaseNum,
                              &index.timeBaseDen);
            ParseRationalText(f.value(QStringLiteral("avg_frame_rate")), &index.rateNum,
                              &index.rateDen);
            index.colorRange = f.value(QStringLiteral("color_range"));
            index.colorSpace = f.value(QStringLiteral("color_space"));
            index.colorTransfer = f.value(QStringLiteral("color_transfer"));
            index.colorPrimaries = f.value(QStringLiteral("color_primaries"));
            index.extradata = ParseHexDump(f.value(QStringLiteral("extradata")));
        } else if (section == QLatin1String("format")) {
            sawFormat = true;
            index.startTime = SecondsTextToUs(f.value(QStringLiteral("start_time")));
            index.duration = SecondsTextToUs(f.value(QStringLiteral("duration")));
        }
    }
    if (!sawFormat) {
        index.error = QCoreApplication::translate("FrameIndex", "the file could not be read");
        return index;
    }
    if (index.hasVideo) {
        if (index.timeBaseNum <= 0 || index.timeBaseDen <= 0) {
            index.error =
                QCoreApplication::translate("FrameIndex", "the video stream has no time base");
            return index;
        }
        tbSeconds = double(index.timeBaseNum) / double(index.timeBaseDen);
        const auto toUs = [tbSeconds](qint64 ticks) {
            return qint64(std::llround(double(ticks) * tbSeconds * 1e6));
        };
        index.packets.reserve(raw.size());
        for (qsizetype i = 0; i < raw.size(); ++i) {
            // A packet without any timestamp cannot be placed; it is left out
            // of the index, and the splicing check below refuses such files.
            qint64 pts = raw[i].first;
            qint64 dts = raw[i].second;
            if (pts == INT64_MIN && dts == INT64_MIN)
                continue;
            if (pts == INT64_MIN)
                pts = dts;
            if (dts == INT64_MIN)
                dts = pts;
            index.packets.append({toUs(pts), toUs(dts), rawKey[i]});
        }
        qint64 openKey = INT64_MIN;
        for (const VideoPacket& packet : std::as_const(index.packets)) {
            index.framePts.append(packet.pts);
            if (packet.key) {
                index.keyframePts.append(packet.pts);
                openKey = packet.pts;
            } else if (openKey != INT64_MIN && packet.pts < openKey) {
                index.openGop = true;
            }
        }
        std::sort(index.framePts.begin(), index.framePts.end());
        std::sort(index.keyframePts.begin(), index.keyframePts.end());

        // A copy may end after packet i when no later packet is shown before
        // any packet up to i.
        const QList<VideoPacket>& packets = index.packets;
        const qsizetype n = packets.size();
        QList<qint64> suffixMin(n + 1, std::numeric_limits<qint64>::max());
        for (qsizetype i = n - 1; i >= 0; --i)
            suffixMin[i] = std::min(suffixMin[i + 1], packets[i].pts);
        qint64 prefixMax = std::numeric_limits<qint64>::min();
        for (qsizetype i = 0; i + 1 < n; ++i) {
            prefixMax = std::max(prefixMax, packets[i].pts);
            if (prefixMax < suffixMin[i + 1])
                index.cleanEnds.append(
                    {suffixMin[i + 1], packets[i].dts + (packets[i + 1].dts - packets[i].dts) / 2});
        }
        std::sort(index.cleanEnds.begin(), index.cleanEnds.end(),
                  [](const FrameIndex::CleanEnd& a, const FrameIndex::CleanEnd& b) {
                      return a.end < b.end;
                  });
    }
    index.valid = true;
    return index;
}

QByteArray ParseHexDump(const QString& dump)
{
    QByteArray bytes;
    for (const QString& line : dump.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        if (colon != 8)
            continue;
        // The hex groups end where the two spaces before the text column are.
        qsizetype end = line.indexOf(QLatin1String("  "), colon + 2);
        if (end < 0)
            end = line.size();
        const QString hex = line.mid(colon + 2, end - colon - 2).remove(QLatin1Char(' '));
        bytes += QByteArray::fromHex(hex.toLatin1());
    }
    return bytes;
}

qint64 SnapToKeyframe(const FrameIndex& index, qint64 relativeTime)
{
    if (!index.valid || index.keyframePts.isEmpty())
        return relativeTime;
    const qint64 absolute = relativeTime + index.startTime;
    // Half a frame of slack: a start typed as 2.000 s on a keyframe stored at
    // 1.99996 s must stay on that keyframe.
    const qint64 slack = index.frameDuration() / 2;
    auto it =
        std::upper_bound(index.keyframePts.begin(), index.keyframePts.end(), absolute + slack);
    if (it == index.keyframePts.begin())
        return qMax<qint64>(0, index.keyframePts.first() - index.startTime);
    return qMax<qint64>(0, *std::prev(it) - index.startTime);
}

qint64 SnapEndToCleanPoint(const FrameIndex& index, qint64 relativeTime)
{
    if (!index.valid || !index.hasVideo || index.framePts.isEmpty())
        return relativeTime;
    const qint64 absolute = relativeTime + index.startTime;
    const qint64 slack = index.frameDuration() / 2;
    // At or past the last frame, the copy runs to the end of the file.
    if (absolute + slack >= index.framePts.last() + index.frameDuration())
        return relativeTime;
    auto it = std::upper_bound(index.cleanEnds.begin(), index.cleanEnds.end(), absolute + slack,
                               [](qint64 t, const FrameIndex::CleanEnd& c) { return t < c.end; });
    if (it == index.cleanEnds.begin())
        return relativeTime;
    return std::prev(it)->end - index.startTime;
}

SnappedRange SnapRangeForKeyframeCut(const FrameIndex& index, qint64 start, qint64 end,
                                     qint64 minimumLength, qint64 startSlack)
{
    SnappedRange range{start, end};
    // A file whose first keyframe comes late could push the start to or past
    // the end; the user's end wins and the start stays.
    const qint64 snapped = SnapToKeyframe(index, start + startSlack);
    if (snapped >= 0 && snapped <= end - minimumLength)
        range.start = snapped;
    const qint64 endSnapped = SnapEndToCleanPoint(index, end);
    if (endSnapped >= range.start + minimumLength)
        range.end = endSnapped;
    return range;
}

QString FfprobePath()
{
    const QString name = Platform::ExecutableName(QStringLiteral("ffprobe"));
    const QFileInfo ffmpeg(FfmpegPath());
    for (const QString& folder :
         {ffmpeg.absolutePath(), QFileInfo(ffmpeg.canonicalFilePath()).absolutePath()}) {
        const QFileInfo beside(folder + QLatin1Char('/') + name);
        if (!folder.isEmpty() && beside.isFile() && beside.isExecutable())
            return beside.absoluteFilePath();
    }
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? name : onPath;
}

FrameIndexCache* FrameIndexCache::instance()
{
    static QPointer<FrameIndexCache> cache;
    if (!cache)
        cache = new FrameIndexCache(QCoreApplication::instance());
    return cache;
}

FrameIndexCache::FrameIndexCache(QObject* parent) : QObject(parent), m_process(new QProcess(this))
{
    ChildProcess::DieWithParent(*m_process);
    connect(m_process, &QProcess::finished, this, &FrameIndexCache::onFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onFinished();
    });
}

FrameIndexCache::~FrameIndexCache()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

void FrameIndexCache::request(const QString& path, bool urgent)
{
    if (path.isEmpty() || m_done.contains(path) || m_current == path)
        return;
    // A list of a thousand files asks for all of them at once; the set
    // answers "already waiting" without a walk through the queue.
    if (m_queued.contains(path)) {
        if (!urgent)
            return;
        m_queue.removeAll(path);
    }
    m_queued.insert(path);
    if (urgent)
        m_queue.prepend(path);
    else
        m_queue.append(path);
    startNext();
}

bool FrameIndexCache::contains(const QString& path) const
{
    return m_done.contains(path);
}

FrameIndex FrameIndexCache::index(const QString& path) const
{
    const auto it = m_done.constFind(path);
    return it == m_done.constEnd() ? FrameIndex() : **it;
}

void FrameIndexCache::forget(const QString& path)
{
    m_done.remove(path);
    if (m_queued.remove(path))
        m_queue.removeAll(path);
}

bool FrameIndexCache::isBusy() const
{
    return !m_current.isEmpty() || !m_queue.isEmpty();
}

void FrameIndexCache::startNext()
{
    if (!m_current.isEmpty() || m_queue.isEmpty())
        return;
    m_current = m_queue.takeFirst();
    m_queued.remove(m_current);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    startProber(FrameIndexArguments(m_current));
}

void FrameIndexCache::startProber(const QStringList& arguments)
{
    m_process->start(FfprobePath(), arguments, QIODevice::ReadOnly);
    ChildProcess::YieldToProgram(*m_process);
    // A prober that hangs on a damaged file must not stop every later file.
    const quint64 run = ++m_runs;
    QTimer::singleShot(kIndexTimeoutMs, this, [this, run] {
        if (run == m_runs && m_process->state() != QProcess::NotRunning)
            m_process->kill();
    });
}

void FrameIndexCache::onFinished()
{
    if (m_current.isEmpty())
        return;
    const QString path = m_current;
    const bool ran = m_process->exitStatus() == QProcess::NormalExit && m_process->exitCode() == 0;
    const QByteArray output = m_process->readAllStandardOutput();
    const QByteArray errors = m_process->readAllStandardError();
    if (m_readingHeaders) {
        // Second step: the headers an encoder must match (HEVC only).
        m_readingHeaders = false;
        if (ran)
            m_pending.extradata = ParseExtradata(output);
    } else {
        m_pending = ran ? ParseFrameIndex(output) : FrameIndex();
        if (!m_pending.valid && m_pending.error.isEmpty())
            m_pending.error = QString::fromUtf8(errors).trimmed().section(QLatin1Char('\n'), 0, 0);
        if (m_pending.valid && m_pending.codec == QLatin1String("hevc")) {
            m_readingHeaders = true;
            startProber(ExtradataArguments(path));
            return;
        }
    }
    m_current.clear();
    if (!m_pending.valid)
        qDebug("frame index of %s failed: %s", qUtf8Printable(path),
               qUtf8Printable(m_pending.error));
    m_done.insert(path, std::make_shared<const FrameIndex>(std::move(m_pending)));
    m_pending = FrameIndex();
    emit indexReady(path);
    startNext();
}
