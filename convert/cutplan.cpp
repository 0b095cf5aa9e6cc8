#include "convert/cutplan.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

namespace {

QString Lower(const QString& text)
{
    return text.toLower();
}

bool IsMp4Family(const QString& suffix)
{
    static const QStringList names{QStringLiteral("mp4"), QStringLiteral("m4v"),
                                   QStringLiteral("mov"), QStringLiteral("3gp")};
    return names.contains(Lower(suffix));
}

bool IsMatroskaFamily(const QString& suffix)
{
    static const QStringList names{QStringLiteral("mkv"), QStringLiteral("webm")};
    return names.contains(Lower(suffix));
}

// Index of the first frame time >= t (frames sorted).
qsizetype LowerBound(const QList<qint64>& times, qint64 t)
{
    return std::lower_bound(times.begin(), times.end(), t) - times.begin();
}

// The first keyframe at or after t, or -1.
qint64 KeyframeAtOrAfter(const FrameIndex& index, qint64 t)
{
    const qsizetype at = LowerBound(index.keyframePts, t);
    return at < index.keyframePts.size() ? index.keyframePts[at] : -1;
}

// The last keyframe at or before t, or -1.
qint64 KeyframeAtOrBefore(const FrameIndex& index, qint64 t)
{
    const auto it = std::upper_bound(index.keyframePts.begin(), index.keyframePts.end(), t);
    return it == index.keyframePts.begin() ? -1 : *std::prev(it);
}

// The last point at or before `until` (and after `after`) where a copy can
// end cleanly, or nullptr.
const FrameIndex::CleanEnd* CleanEndAtOrBefore(const FrameIndex& index, qint64 after, qint64 until)
{
    auto it = std::upper_bound(index.cleanEnds.begin(), index.cleanEnds.end(), until,
                               [](qint64 t, const FrameIndex::CleanEnd& c) { return t < c.end; });
    if (it == index.cleanEnds.begin())
        return nullptr;
    const FrameIndex::CleanEnd* clean = &*std::prev(it);
    return clean->end > after ? clean : nullptr;
}

int FramesBetween(const FrameIndex& index, qint64 from, qint64 until)
{
    return int(LowerBound(index.framePts, until) - LowerBound(index.framePts, from));
}

CutPiece EncodePiece(const FrameIndex& index, qint64 from, qint64 until)
{
    CutPiece piece;
    piece.kind = CutPiece::Encode;
    piece.start = from;
    piece.frames = FramesBetween(index, from, until);
    piece.duration = until - from;
    return piece;
}

CutPiece CopyPiece(const FrameIndex& index, qint64 from, qint64 until, qint64 bound)
{
    CutPiece piece;
    piece.kind = CutPiece::Copy;
    piece.start = from;
    piece.frames = FramesBetween(index, from, until);
    piece.duration = until - from;
    piece.outpoint = bound;
    return piece;
}

QString H264Profile(const QString& profile)
{
    const QString p = Lower(profile);
    if (p.contains(QLatin1String("baseline")))
        return QStringLiteral("baseline");
    if (p == QLatin1String("main"))
        return QStringLiteral("main");
    if (p == QLatin1String("high"))
        return QStringLiteral("high");
    if (p == QLatin1String("high 10"))
        return QStringLiteral("high10");
    if (p == QLatin1String("high 4:2:2"))
        return QStringLiteral("high422");
    if (p.startsWith(QLatin1String("high 4:4:4")))
        return QStringLiteral("high444");
    return QString();
}

void AddColourOptions(const FrameIndex& index, QStringList* args)
{
    const auto known = [](const QString& value) {
        return !value.isEmpty() && value != QLatin1String("unknown");
    };
    if (known(index.colorRange))
        *args << QStringLiteral("-color_range") << index.colorRange;
    if (known(index.colorSpace))
        *args << QStringLiteral("-colorspace") << index.colorSpace;
    if (known(index.colorTransfer))
        *args << QStringLiteral("-color_trc") << index.colorTransfer;
    if (known(index.colorPrimaries))
        *args << QStringLiteral("-color_primaries") << index.colorPrimaries;
}

} // namespace

qint64 ItemCutPlan::encodedDuration() const
{
    qint64 total = 0;
    for (const CutPiece& piece : video) {
        if (piece.kind == CutPiece::Encode)
            total += piece.duration;
    }
    return total;
}

QString SpliceRefusal(const FrameIndex& index, const QString& suffix)
{
    if (!index.valid || !index.hasVideo)
        return QString();
    if (index.keyframePts.isEmpty())
        return QCoreApplication::translate("CutPlan", "the picture has no keyframes");
    if (index.openGop)
        return QCoreApplication::translate("CutPlan", "the picture uses open groups of pictures");
    if (index.reorderDelay > 2)
        return QCoreApplication::translate(
            "CutPlan", "the picture reorders more frames than an encoder can match");
    if (!IsMp4Family(suffix) && !IsMatroskaFamily(suffix) &&
        !(Lower(suffix) == QLatin1String("avi") && index.reorderDelay == 0))
        return QCoreApplication::translate(
                   "CutPlan", "the %1 container cannot carry encoded and copied frames together")
            .arg(suffix.toUpper());
    if (SpliceEncoderOptions(index, suffix).isEmpty())
        return QCoreApplication::translate("CutPlan", "there is no matching encoder for %1 %2")
            .arg(index.codec.toUpper(), index.profile);
    return QString();
}

ItemCutPlan PlanItemCut(const FrameIndex& index, qint64 cutStart, qint64 cutEnd, CutMode mode,
                        const QString& suffix)
{
    ItemCutPlan plan;
    if (cutEnd <= cutStart) {
        plan.error = QCoreApplication::translate("CutPlan", "the range is empty");
        return plan;
    }
    if (!index.valid || !index.hasVideo || index.framePts.isEmpty()) {
        // Sound only: cut where asked; the audio is copied packet by packet.
        plan.ok = true;
        plan.keptStart = cutStart;
        plan.keptEnd = cutEnd;
        return plan;
    }

    const qint64 f = qMax<qint64>(1, index.frameDuration());
    const qint64 slack = f / 2;
    const qint64 s = cutStart + index.startTime;
    const qint64 e = cutEnd + index.startTime;
    const qsizetype first = LowerBound(index.framePts, s - slack);
    const qsizetype past = LowerBound(index.framePts, e - slack);
    if (first >= past) {
        plan.error = QCoreApplication::translate("CutPlan", "the range holds no frame");
        return plan;
    }
    const qsizetype last = past - 1;
    const bool toTheEnd = past >= index.framePts.size();
    qint64 start = index.framePts[first];
    qint64 end = toTheEnd ? index.framePts[last] + f : index.framePts[past];

    if (mode == CutMode::Keyframe) {
        // Without encoding, a range can only start at a keyframe and end
        // where the reordered frames allow.
        if (index.openGop) {
            plan.reencodeReason = SpliceRefusal(index, suffix);
            plan.keptStart = start - index.startTime;
            plan.keptEnd = end - index.startTime;
            plan.ok = true;
            return plan;
        }
        qint64 key = KeyframeAtOrBefore(index, start + slack);
        if (key < 0)
            key = index.keyframePts.first();
        qint64 bound = kNoTime;
        if (!toTheEnd) {
            const FrameIndex::CleanEnd* clean = CleanEndAtOrBefore(index, key, end);
            if (!clean) {
                plan.error = QCoreApplication::translate(
                    "CutPlan", "the range is shorter than the keyframe spacing");
                return plan;
            }
            end = clean->end;
            bound = clean->bound;
        }
        start = key;
        plan.video << CopyPiece(index, start, end, bound);
    } else {
        plan.reencodeReason = SpliceRefusal(index, suffix);
        if (!plan.reencodeReason.isEmpty()) {
            plan.keptStart = start - index.startTime;
            plan.keptEnd = end - index.startTime;
            plan.ok = true;
            return plan;
        }
        const qint64 key = KeyframeAtOrAfter(index, start);
        const bool keyInside = key >= 0 && key < end;
        const FrameIndex::CleanEnd* clean =
            keyInside && !toTheEnd ? CleanEndAtOrBefore(index, key, end) : nullptr;
        if (!keyInside || (!toTheEnd && !clean)) {
            plan.video << EncodePiece(index, start, end);
        } else {
            if (key > start)
                plan.video << EncodePiece(index, start, key);
            // With reordered frames a copy can only end where no frame shown
            // later was decoded earlier; the few frames after that point are
            // encoded again.
            if (toTheEnd) {
                plan.video << CopyPiece(index, key, end, kNoTime);
            } else {
                plan.video << CopyPiece(index, key, clean->end, clean->bound);
                if (clean->end < end)
                    plan.video << EncodePiece(index, clean->end, end);
            }
        }
    }
    plan.keptStart = start - index.startTime;
    plan.keptEnd = end - index.startTime;
    plan.ok = true;
    return plan;
}

bool EndPlanEarly(const FrameIndex& index, qint64 until, ItemCutPlan* plan)
{
    if (until <= plan->keptStart || until >= plan->keptEnd)
        return false;
    if (plan->video.isEmpty()) {
        // Sound only: its packets can end anywhere.
        plan->keptEnd = until;
        return true;
    }
    const qint64 limit = until + index.startTime;
    QList<CutPiece> kept;
    for (const CutPiece& piece : std::as_const(plan->video)) {
        if (piece.start + piece.duration <= limit) {
            kept << piece;
            continue;
        }
        if (piece.kind == CutPiece::Copy) {
            if (const FrameIndex::CleanEnd* clean = CleanEndAtOrBefore(index, piece.start, limit))
                kept << CopyPiece(index, piece.start, clean->end, clean->bound);
        }
        break;
    }
    if (kept.isEmpty())
        return false;
    plan->video = kept;
    plan->keptEnd = kept.last().start + kept.last().duration - index.startTime;
    return true;
}

QStringList SpliceEncoderOptions(const FrameIndex& index, const QString& suffix)
{
    QStringList args;
    const int d = index.reorderDelay;
    if (index.codec == QLatin1String("h264")) {
        const QString profile = H264Profile(index.profile);
        if (profile.isEmpty() || (profile == QLatin1String("baseline") && d > 0))
            return {};
        args << QStringLiteral("-c:v") << QStringLiteral("libx264") << QStringLiteral("-preset")
             << QStringLiteral("superfast") << QStringLiteral("-crf") << QStringLiteral("14")
             << QStringLiteral("-profile:v") << profile;
        if (index.level > 0)
            args << QStringLiteral("-level") << QString::number(index.level / 10.0, 'f', 1);
        // The reorder depth must equal the source's: decode times step evenly
        // across every splice only when both sides hold frames back equally.
        args << QStringLiteral("-bf") << QString::number(d == 0 ? 0 : d == 1 ? 1 : 3);
        // A piece is a few dozen frames: looking ahead and many threads only
        // cost set-up time and memory.
        args << QStringLiteral("-threads") << QStringLiteral("2") << QStringLiteral("-x264-params")
             << QStringLiteral("rc-lookahead=0:sync-lookahead=0") +
                    (d >= 2 ? QStringLiteral(":b-pyramid=normal") : QString());
    } else if (index.codec == QLatin1String("hevc")) {
        const QString p = Lower(index.profile);
        QString profile;
        if (p == QLatin1String("main"))
            profile = QStringLiteral("main");
        else if (p == QLatin1String("main 10"))
            profile = QStringLiteral("main10");
        else
            return {};
        // The source's own settings, where its encoder wrote them, give
        // headers that the copied frames can be decoded with.
        QString params = X265ParamsFromExtradata(index.extradata);
        if (params.isEmpty()) {
            if (d == 0)
                params = QStringLiteral("bframes=0");
            else if (d == 1)
                params = QStringLiteral("bframes=1:b-pyramid=0");
            else
                params = QStringLiteral("bframes=4:b-pyramid=1");
        }
        params += QStringLiteral(":log-level=error");
        args << QStringLiteral("-c:v") << QStringLiteral("libx265") << QStringLiteral("-preset")
             << QStringLiteral("veryfast") << QStringLiteral("-crf") << QStringLiteral("18")
             << QStringLiteral("-profile:v") << profile << QStringLiteral("-x265-params") << params;
        if (Lower(suffix) != QLatin1String("mkv"))
            args << QStringLiteral("-tag:v") << QStringLiteral("hvc1");
        // Decoded frames report a chroma siting the source may not signal.
        args << QStringLiteral("-chroma_sample_location") << QStringLiteral("unspecified");
    } else if (index.codec == QLatin1String("vp9") || index.codec == QLatin1String("vp8")) {
        if (d != 0)
            return {};
        const bool vp9 = index.codec == QLatin1String("vp9");
        args << QStringLiteral("-c:v")
             << (vp9 ? QStringLiteral("libvpx-vp9") : QStringLiteral("libvpx"))
             << QStringLiteral("-deadline") << QStringLiteral("good") << QStringLiteral("-cpu-used")
             << QStringLiteral("5") << QStringLiteral("-row-mt") << QStringLiteral("1")
             << QStringLiteral("-crf") << QStringLiteral("10") << QStringLiteral("-b:v")
             << (vp9 ? QStringLiteral("0") : QStringLiteral("20M"));
        if (vp9) {
            const QString profile = index.profile.section(QLatin1Char(' '), -1);
            bool ok = false;
            const int number = profile.toInt(&ok);
            if (ok)
                args << QStringLiteral("-profile:v") << QString::number(number);
        }
    } else if (index.codec == QLatin1String("mpeg4")) {
        if (d != 0)
            return {};
        args << QStringLiteral("-c:v") << QStringLiteral("mpeg4") << QStringLiteral("-q:v")
             << QStringLiteral("2") << QStringLiteral("-bf") << QStringLiteral("0");
        if (!index.codecTag.isEmpty() && !index.codecTag.startsWith(QLatin1Char('[')))
            args << QStringLiteral("-tag:v") << index.codecTag;
    } else {
        return {};
    }
    if (!index.pixelFormat.isEmpty())
        args << QStringLiteral("-pix_fmt") << index.pixelFormat;
    AddColourOptions(index, &args);
    // Copied and encoded packets must share one time base, or their times
    // are rounded differently at every splice.
    if (IsMp4Family(suffix) && index.timeBaseNum == 1 && index.timeBaseDen > 0)
        args << QStringLiteral("-video_track_timescale") << QString::number(index.timeBaseDen);
    return args;
}

QString X265ParamsFromExtradata(const QByteArray& extradata)
{
    const qsizetype at = extradata.indexOf("options: ");
    if (at < 0 || !extradata.contains("x265"))
        return QString();
    qsizetype end = extradata.indexOf('\0', at);
    if (end < 0)
        end = extradata.size();
    const QString text = QString::fromLatin1(extradata.mid(at + 9, end - at - 9));
    // Settings that do not reach the headers, or that describe this run
    // (rate control, threads, statistics, logging, the input).
    static const QStringList skipped{
        QStringLiteral("cpuid"), QStringLiteral("frame-threads"), QStringLiteral("numa-pools"),
        QStringLiteral("pmode"), QStringLiteral("pme"), QStringLiteral("psnr"),
        QStringLiteral("ssim"), QStringLiteral("log-level"), QStringLiteral("input-csp"),
        QStringLiteral("input-res"), QStringLiteral("total-frames"), QStringLiteral("interlace"),
        QStringLiteral("rc"), QStringLiteral("crf"), QStringLiteral("bitrate"),
        QStringLiteral("qp"), QStringLiteral("stats-write"), QStringLiteral("stats-read"),
        QStringLiteral("zone-count"), QStringLiteral("annexb"), QStringLiteral("repeat-headers"),
        QStringLiteral("lookahead-slices"), QStringLiteral("vbv-maxrate"),
        QStringLiteral("vbv-bufsize"), QStringLiteral("vbv-init"), QStringLiteral("crf-max"),
        QStringLiteral("crf-min"), QStringLiteral("ipratio"), QStringLiteral("pbratio"),
        QStringLiteral("qcomp"), QStringLiteral("qpstep"), QStringLiteral("qpmax"),
        QStringLiteral("qpmin"), QStringLiteral("copy-pic"), QStringLiteral("hist-scenecut"),
        QStringLiteral("hist-threshold"), QStringLiteral("scale-factor"),
        // The text lists these even where the stream does not signal them;
        // setting them would add signalling the source lacks.
        QStringLiteral("videoformat"), QStringLiteral("range"), QStringLiteral("colorprim"),
        QStringLiteral("transfer"), QStringLiteral("colormatrix"), QStringLiteral("chromaloc"),
        QStringLiteral("sar"), QStringLiteral("overscan"), QStringLiteral("display-window")};
    static const QRegularExpression token(QStringLiteral("^(no-)?([a-z][a-z0-9-]*)(=(.*))?$"));
    QStringList params;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = token.match(word);
        if (!match.hasMatch())
            continue;
        const QString name = match.captured(2);
        if (skipped.contains(name) || name.startsWith(QLatin1String("analysis")) ||
            name.startsWith(QLatin1String("refine")) || name.startsWith(QLatin1String("stats")))
            continue;
        QString value = match.captured(4);
        if (!match.hasCaptured(3))
            value = QStringLiteral("1");
        // ':' separates the parameters; the encoder reads pairs with ','.
        value.replace(QLatin1Char(':'), QLatin1Char(','));
        if (value.contains(QLatin1Char('=')) || value.contains(QLatin1Char(' ')))
            continue;
        params << match.captured(1) + name + QLatin1Char('=') + value;
    }
    return params.join(QLatin1Char(':'));
}

QList<QByteArray> HevcParameterSets(const QByteArray& record)
{
    // The configuration record: 22 bytes of profile and layout facts, the
    // number of arrays, then per array a type byte, a count and
    // length-prefixed units.
    QList<QByteArray> sets;
    if (record.size() < 23 || quint8(record[0]) != 1)
        return sets;
    const auto byte = [&record](qsizetype i) { return quint8(record[i]); };
    qsizetype at = 22;
    const int arrays = byte(at++);
    for (int a = 0; a < arrays; ++a) {
        if (at + 3 > record.size())
            return {};
        const int type = byte(at) & 0x3f;
        const int count = (byte(at + 1) << 8) | byte(at + 2);
        at += 3;
        for (int n = 0; n < count; ++n) {
            if (at + 2 > record.size())
                return {};
            const int length = (byte(at) << 8) | byte(at + 1);
            at += 2;
            if (at + length > record.size())
                return {};
            if (type >= 32 && type <= 34)
                sets << record.mid(at, length);
            at += length;
        }
    }
    return sets;
}

qint64 AudioFrameDuration(const QString& codec, int sampleRate)
{
    if (sampleRate <= 0)
        return 50000;
    int samples = 2048;
    const QString c = Lower(codec);
    if (c == QLatin1String("aac"))
        samples = 1024;
    else if (c == QLatin1String("mp3") || c == QLatin1String("mp2"))
        samples = 1152;
    else if (c == QLatin1String("ac3") || c == QLatin1String("eac3"))
        samples = 1536;
    else if (c == QLatin1String("opus"))
        samples = 960;
    else if (c == QLatin1String("flac"))
        samples = 4608;
    return qint64(samples) * 1000000 / sampleRate;
}

QString ListSeconds(qint64 us)
{
    const bool negative = us < 0;
    const qint64 a = negative ? -us : us;
    return (negative ? QStringLiteral("-") : QString()) +
           QStringLiteral("%1.%2").arg(a / 1000000).arg(a % 1000000, 6, 10, QLatin1Char('0'));
}

QByteArray ConcatListBytes(const QList<ConcatEntry>& entries)
{
    QByteArray bytes("ffconcat version 1.0\n");
    for (const ConcatEntry& entry : entries) {
        if (entry.path.contains(QLatin1Char('\r')) || entry.path.contains(QLatin1Char('\n')) ||
            entry.path.contains(QChar(0)))
            return {};
        QString quoted = entry.path;
        quoted.replace(QLatin1String("'"), QLatin1String("'\\''"));
        bytes += QStringLiteral("file '%1'\n").arg(quoted).toUtf8();
        if (entry.inpoint != kNoTime)
            bytes += "inpoint " + ListSeconds(entry.inpoint).toLatin1() + '\n';
        if (entry.outpoint != kNoTime)
            bytes += "outpoint " + ListSeconds(entry.outpoint).toLatin1() + '\n';
        if (entry.duration != kNoTime)
            bytes += "duration " + ListSeconds(entry.duration).toLatin1() + '\n';
    }
    return bytes;
}
