#include "media/proberefusal.h"

#include "media/mediainfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace {

// The tool's own warning that it chose the input's type from the file name
// alone: the content did not look like that type, or like anything else.
constexpr QLatin1String kGuessedType("misdetection possible");
// The score at and below which the prober gives that warning.
constexpr int kGuessedScore = 25;

bool GuessedType(const ProbeReport& report, const QString& errorText)
{
    return (report.probeScore >= 0 && report.probeScore <= kGuessedScore) ||
           errorText.contains(kGuessedType);
}

// Types the tool opens that hold no recording: text shown as pictures and
// single pictures. Every "*_pipe" reader of the tool is a picture reader.
bool IsTextOrPictureFormat(const QString& format)
{
    static const QStringList kNames = {
        QStringLiteral("tty"),        QStringLiteral("bin"), QStringLiteral("xbin"),
        QStringLiteral("adf"),        QStringLiteral("idf"), QStringLiteral("image2"),
        QStringLiteral("image2pipe"),
    };
    const QStringList names = format.split(QLatin1Char(','), Qt::SkipEmptyParts);
    return std::any_of(names.begin(), names.end(), [](const QString& name) {
        return kNames.contains(name) || name.endsWith(QLatin1String("_pipe"));
    });
}

// Whether a reader of a media type spoke about the input, as in
// "[mov,mp4,m4a,3gp,3g2,mj2 @ 0x55d1c0] moov atom not found". Newer tools
// also prefix their own input and output handling ("[in#0 @ 0x...]"), which
// names no type; so do the I/O layers.
bool TypeReaderSpoke(const QString& errorText)
{
    static const QRegularExpression prefixed(QStringLiteral("^\\[(\\S+) @ 0x[0-9a-fA-F]+\\]"),
                                             QRegularExpression::MultilineOption);
    static const QRegularExpression notAReader(
        QStringLiteral("^((in|out|vost|aost|dec|enc)#.*|AVIOContext|AVFormatContext|file|NULL)$"));
    for (auto it = prefixed.globalMatch(errorText); it.hasNext();) {
        if (!notAReader.match(it.next().captured(1)).hasMatch())
            return true;
    }
    return false;
}

bool HasAt(const QByteArray& head, int offset, const QByteArray& magic)
{
    return head.size() >= offset + magic.size() &&
           std::memcmp(head.constData() + offset, magic.constData(),
                       static_cast<size_t>(magic.size())) == 0;
}

} // namespace

ProbeRefusal RefusalBeforeProbe(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return ProbeRefusal::NotMedia;
    return ProbeRefusal::None;
}

bool IsNonMediaReport(const ProbeReport& report)
{
    if (IsTextOrPictureFormat(report.formatName))
        return true;
    // A real recording found by its name alone still yields its streams'
    // facts (a very short mp3 does); junk with a media name yields none.
    return GuessedType(report, QString()) && report.incompleteStreams;
}

bool StartsLikeMedia(const QByteArray& head)
{
    // ISO media (mp4, mov, m4a, 3gp): the first box names its type at byte 4.
    for (const char* box : {"ftyp", "moov", "mdat", "wide"}) {
        if (HasAt(head, 4, box))
            return true;
    }
    static const QList<QByteArray> kStarts = {
        QByteArray("\x1A\x45\xDF\xA3", 4),                 // Matroska, WebM
        QByteArray("OggS"),                                // Ogg, Opus
        QByteArray("fLaC"),                                // FLAC
        QByteArray("ID3"),                                 // tagged MP3
        QByteArray("caff"),                                // Core Audio
        QByteArray("wvpk"),                                // WavPack
        QByteArray("MAC "),                                // Monkey's Audio
        QByteArray("FLV\x01"),                             // Flash video
        QByteArray(".RMF"),                                // RealMedia
        QByteArray("#!AMR"),                               // AMR
        QByteArray("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8), // ASF: wmv, wma
        QByteArray("\x00\x00\x01\xBA", 4),                 // MPEG program stream, VOB
        QByteArray("\x06\x0E\x2B\x34", 4),                 // MXF
    };
    for (const QByteArray& start : kStarts) {
        if (HasAt(head, 0, start))
            return true;
    }
    if (HasAt(head, 0, "RIFF") && (HasAt(head, 8, "WAVE") || HasAt(head, 8, "AVI ")))
        return true;
    if (HasAt(head, 0, "FORM") && (HasAt(head, 8, "AIFF") || HasAt(head, 8, "AIFC")))
        return true;
    // Transport streams have no header, only a sync byte every 188 bytes (192
    // in Blu-ray files, after a 4-byte time stamp): two in a row count.
    const QByteArray sync("\x47");
    return (HasAt(head, 0, sync) && HasAt(head, 188, sync)) ||
           (HasAt(head, 4, sync) && HasAt(head, 196, sync));
}

ProbeRefusal ClassifyFailedProbe(const ProbeReport& report, const QString& errorText,
                                 const QByteArray& head, bool readable, bool timedOut)
{
    if (!readable)
        return ProbeRefusal::Unreadable;
    const bool guessed = GuessedType(report, errorText);
    if (IsTextOrPictureFormat(report.formatName))
        return ProbeRefusal::NotMedia;
    if (!report.formatName.isEmpty() && !guessed) {
        // Opened as a container of its type. Streams of other kinds only
        // (subtitles, data) make no media file; no usable stream at all
        // means the container is broken.
        const bool soundOrPicture =
            !report.videoStreamLines.isEmpty() || !report.audioStreamLines.isEmpty();
        return report.otherStreams > 0 && !soundOrPicture ? ProbeRefusal::NotMedia
                                                          : ProbeRefusal::Damaged;
    }
    // The reader of the type the content showed complained: "moov atom not
    // found" in a cut-off mp4, "File ended prematurely" in a cut-off mkv.
    if (!guessed && TypeReaderSpoke(errorText))
        return ProbeRefusal::Damaged;
    // A prober still busy when its time was up, or one that said nothing,
    // has told nothing about the file: it may sit on a slow or stalled drive
    // as well as be broken, so the file is not blamed.
    if (timedOut || (report.formatName.isEmpty() && errorText.trimmed().isEmpty()))
        return ProbeRefusal::Unreadable;
    // Some readers give up on a cut-off file without a word of their own
    // (Ogg, FLAC, AVI, transport streams: "End of file", "Invalid data
    // found"), and a type guessed from the name proves nothing either way;
    // the file's own signature still tells what it was meant to be.
    return StartsLikeMedia(head) ? ProbeRefusal::Damaged : ProbeRefusal::NotMedia;
}

QString WithoutPath(const QString& errorText, const QString& path)
{
    if (path.isEmpty())
        return errorText;
    return QString(errorText).replace(path, QStringLiteral("<input>"));
}

ProbeRefusal RefusalAfterProbe(const QString& path, const ProbeReport& report,
                               const QString& errorText, bool timedOut)
{
    const ProbeRefusal before = RefusalBeforeProbe(path);
    if (before != ProbeRefusal::None)
        return before;
    QFile file(path);
    const bool readable = file.open(QIODevice::ReadOnly);
    // Enough for the transport-stream check, the furthest one in.
    const QByteArray head = readable ? file.read(256) : QByteArray();
    return ClassifyFailedProbe(report, WithoutPath(errorText, path), head, readable, timedOut);
}

QString RefusalReasonText(ProbeRefusal reason)
{
    switch (reason) {
    case ProbeRefusal::NotMedia:
        return QCoreApplication::translate("ProbeRefusal", "not a media file");
    case ProbeRefusal::Unreadable:
        return QCoreApplication::translate("ProbeRefusal", "cannot be read");
    case ProbeRefusal::Damaged:
        return QCoreApplication::translate("ProbeRefusal", "damaged");
    case ProbeRefusal::None:
        break;
    }
    return QString();
}

QString RefusedFileName(const QString& path)
{
    QString name = QFileInfo(QDir::cleanPath(path)).fileName();
    if (name.isEmpty())
        name = path;
    // A file name may hold line breaks on Linux; the notice has one per file.
    for (QChar& c : name) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return name;
}

QString RefusalNoticeText(const QList<RefusedFile>& refused, int listed)
{
    const int count = static_cast<int>(refused.size());
    listed = std::clamp(listed, 0, count);
    QStringList lines{
        count == 1 ? QCoreApplication::translate("ProbeRefusal", "This file was not added:")
                   : QCoreApplication::translate("ProbeRefusal", "These files were not added:")};
    for (int i = 0; i < listed; ++i) {
        //: A refused file and why, e.g. "notes.mp4: not a media file".
        lines << QCoreApplication::translate("ProbeRefusal", "%1: %2")
                     .arg(refused[i].name, RefusalReasonText(refused[i].reason));
    }
    if (listed < count)
        lines << QCoreApplication::translate("ProbeRefusal", "... and %n more.", nullptr,
                                             count - listed);
    return lines.join(QLatin1Char('\n'));
}
