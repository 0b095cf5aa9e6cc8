#include "cli/cliitems.h"

#include "app/timetext.h"

#include <QFileInfo>

namespace {

// The probe's duration line has hundredths of a second: an end that far
// past it is still the end of the file.
constexpr qint64 kDurationSlack = 10000;

} // namespace

QList<CliInput> InputsOfJobList(const JobList& list)
{
    QList<CliInput> inputs;
    for (const JobListEntry& entry : list.entries) {
        CliInput input;
        input.path = entry.filePath;
        input.start = entry.cutStart;
        input.end = entry.cutEnd < 0 ? -1 : entry.cutEnd;
        // The list always names a track; the first is no choice a silent
        // file could fail.
        input.track = entry.audioTrackIndex > 0 ? entry.audioTrackIndex : -1;
        inputs << input;
    }
    return inputs;
}

bool MakeConvertItems(const QList<CliInput>& inputs, const QList<MediaInfo>& infos,
                      QList<ConvertItem>* items, QString* error)
{
    items->clear();
    for (int i = 0; i < inputs.size() && i < infos.size(); ++i) {
        const CliInput& input = inputs.at(i);
        const QString name = QFileInfo(input.path).fileName();
        ConvertItem item;
        item.filePath = input.path;
        item.itemId = i + 1;
        item.mediaInfo = infos.at(i);
        const qint64 duration = item.mediaInfo.duration;

        const int tracks = int(item.mediaInfo.audioStreamLines.size());
        if (input.track >= 0 && input.track >= tracks) {
            *error = tracks == 0 ? QStringLiteral("%1 has no sound track").arg(name)
                                 : QStringLiteral("%1 has %2 sound track(s); there is no #%3")
                                       .arg(name)
                                       .arg(tracks)
                                       .arg(input.track + 1);
            return false;
        }
        item.audioTrackIndex = qMax(0, input.track);
        // The row, the output profile and the same-format test read the
        // sound facts from the item: they must be those of the chosen track.
        SelectAudioTrack(item.mediaInfo, item.audioTrackIndex);
        ComputeEncodingParameters(item.mediaInfo);

        item.cutStart = qMax<qint64>(0, input.start);
        item.cutEnd = input.end < 0 ? duration : input.end;
        if (duration > 0) {
            if (item.cutStart >= duration) {
                *error = QStringLiteral("the start %1 is not within %2, which lasts %3")
                             .arg(TimeToString(item.cutStart), name, TimeToString(duration));
                return false;
            }
            if (item.cutEnd > duration + kDurationSlack) {
                *error = QStringLiteral("the end %1 is past the end of %2, which lasts %3")
                             .arg(TimeToString(item.cutEnd), name, TimeToString(duration));
                return false;
            }
            item.cutEnd = qMin(item.cutEnd, duration);
        }
        if (item.cutEnd <= item.cutStart) {
            *error = QStringLiteral("the range %1-%2 of %3 keeps nothing")
                         .arg(TimeToString(item.cutStart), TimeToString(item.cutEnd), name);
            return false;
        }
        items->append(item);
    }
    return true;
}

QString OutputSuffixProblem(const QString& output, const QString& suffix)
{
    // A file without a suffix gives a result without one; nothing to match.
    if (suffix.isEmpty())
        return QString();
    const QString given = QFileInfo(output).suffix();
    if (given.compare(suffix, Qt::CaseInsensitive) == 0)
        return QString();
    return QStringLiteral("'%1' does not end in .%2, the suffix of the output format")
        .arg(output, suffix.toLower());
}
