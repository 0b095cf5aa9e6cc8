#include "list/joblist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSaveFile>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// A list names a few hundred files at most; anything far larger is no list,
// and reading it whole would only hold the window up.
constexpr qint64 kMostListBytes = 64 * 1024 * 1024;
// Past this many seconds (about 30 years) a time is no position in a
// recording, and in microseconds it would no longer fit.
constexpr double kMostSeconds = 1e9;

// Seconds as the list holds them, in microseconds; false for anything that
// is not a time in a recording.
bool ReadSeconds(const QJsonValue& value, qint64* microseconds)
{
    if (!value.isDouble())
        return false;
    const double seconds = value.toDouble();
    if (!std::isfinite(seconds) || seconds < 0 || seconds > kMostSeconds)
        return false;
    *microseconds = qRound64(seconds * 1e6);
    return true;
}

// A whole number in int range (JSON has only one kind of number).
bool ReadWholeNumber(const QJsonValue& value, int* number)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < INT_MIN || d > INT_MAX)
        return false;
    *number = static_cast<int>(d);
    return true;
}

double Seconds(qint64 microseconds)
{
    return static_cast<double>(microseconds) / 1e6;
}

} // namespace

int JobList::formatIndex() const
{
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).outputFormat)
            return i;
    }
    return 0;
}

namespace JobListFile {

QByteArray ToJson(const JobList& list)
{
    QJsonObject root;
    root.insert(QStringLiteral("version"), kVersion);
    if (list.hasMode) {
        root.insert(QStringLiteral("mode"), list.mode == CutMode::Keyframe
                                                ? QStringLiteral("keyframe")
                                                : QStringLiteral("exact"));
    }
    QJsonArray items;
    // One mark at most: a list that reached here with several keeps the
    // first, as formatIndex() reads it.
    const bool anyMarked = std::any_of(list.entries.cbegin(), list.entries.cend(),
                                       [](const JobListEntry& e) { return e.outputFormat; });
    const int marked = anyMarked ? list.formatIndex() : -1;
    for (int i = 0; i < list.entries.size(); ++i) {
        const JobListEntry& entry = list.entries.at(i);
        QJsonObject item;
        item.insert(QStringLiteral("path"), QFileInfo(entry.filePath).absoluteFilePath());
        item.insert(QStringLiteral("start"), Seconds(entry.cutStart));
        if (entry.cutEnd >= 0)
            item.insert(QStringLiteral("end"), Seconds(entry.cutEnd));
        item.insert(QStringLiteral("track"), entry.audioTrackIndex);
        if (i == marked)
            item.insert(QStringLiteral("format"), true);
        items.append(item);
    }
    root.insert(QStringLiteral("items"), items);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool FromJson(const QByteArray& json, const QString& baseFolder, JobList* list, QString* error)
{
    const auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return fail(QCoreApplication::translate(
                        "JobListFile",
                        "This is not a Splicora list: its text is not JSON (%1 at character %2).")
                        .arg(parseError.errorString())
                        .arg(parseError.offset));
    }
    if (!document.isObject())
        return fail(QCoreApplication::translate(
            "JobListFile", "This is not a Splicora list: it holds no JSON object."));
    const QJsonObject root = document.object();

    int version = 0;
    if (!ReadWholeNumber(root.value(QStringLiteral("version")), &version) || version < 1)
        return fail(QCoreApplication::translate(
            "JobListFile", "This is not a Splicora list: it has no version number."));
    if (version > kVersion)
        return fail(QCoreApplication::translate(
                        "JobListFile",
                        "This list was saved by a newer version of Splicora (list version %1); "
                        "update Splicora to open it.")
                        .arg(version));

    const QJsonValue itemsValue = root.value(QStringLiteral("items"));
    if (!itemsValue.isArray())
        return fail(QCoreApplication::translate(
            "JobListFile", "This is not a Splicora list: it has no \"items\" array."));

    JobList read;
    const QString mode = root.value(QStringLiteral("mode")).toString();
    if (mode == QLatin1String("exact") || mode == QLatin1String("keyframe")) {
        read.hasMode = true;
        read.mode = mode == QLatin1String("keyframe") ? CutMode::Keyframe : CutMode::Exact;
    }

    const QDir base(baseFolder);
    const QJsonArray items = itemsValue.toArray();
    for (int i = 0; i < items.size(); ++i) {
        // Counted from 1, as a person reading the file counts.
        const auto itemFail = [&fail, i](const QString& text) { return fail(text.arg(i + 1)); };
        if (!items.at(i).isObject())
            return itemFail(QCoreApplication::translate("JobListFile",
                                                        "Item %1 of the list is not an object."));
        const QJsonObject item = items.at(i).toObject();
        const QString path = item.value(QStringLiteral("path")).toString();
        if (path.isEmpty())
            return itemFail(
                QCoreApplication::translate("JobListFile", "Item %1 of the list has no path."));

        JobListEntry entry;
        entry.filePath = QDir::cleanPath(base.absoluteFilePath(path));
        const QJsonValue start = item.value(QStringLiteral("start"));
        if (!start.isUndefined() && !ReadSeconds(start, &entry.cutStart))
            return itemFail(QCoreApplication::translate(
                "JobListFile",
                "Item %1 of the list has a start that is not a time (seconds, 0 or more)."));
        const QJsonValue end = item.value(QStringLiteral("end"));
        if (!end.isUndefined() && !ReadSeconds(end, &entry.cutEnd))
            return itemFail(QCoreApplication::translate(
                "JobListFile",
                "Item %1 of the list has an end that is not a time (seconds, 0 or more)."));
        if (entry.cutEnd >= 0 && entry.cutEnd <= entry.cutStart)
            return itemFail(QCoreApplication::translate(
                "JobListFile", "Item %1 of the list ends before its start."));
        const QJsonValue track = item.value(QStringLiteral("track"));
        if (!track.isUndefined() &&
            (!ReadWholeNumber(track, &entry.audioTrackIndex) || entry.audioTrackIndex < 0))
            return itemFail(QCoreApplication::translate(
                "JobListFile",
                "Item %1 of the list has a track that is not a whole number, 0 or more."));
        entry.outputFormat = item.value(QStringLiteral("format")).toBool(false);
        read.entries.append(entry);
    }
    if (list)
        *list = std::move(read);
    return true;
}

bool Write(const QString& path, const JobList& list, QString* error)
{
    // Written aside and moved over the old list only once complete, so a
    // full disk or a crash never leaves half a list where a good one was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ToJson(list)) < 0 || !file.commit()) {
        if (error) {
            *error =
                QCoreApplication::translate("JobListFile", "The list could not be saved as %1: %2.")
                    .arg(QDir::toNativeSeparators(path), file.errorString());
        }
        file.cancelWriting();
        return false;
    }
    return true;
}

bool Read(const QString& path, JobList* list, QStringList* missing, QString* error)
{
    QFile file(path);
    const QFileInfo info(path);
    // A folder, a device or a pipe is no list, and a pipe would hold the
    // reader until someone writes to it.
    const bool notAFile = info.exists() && !info.isFile();
    if (notAFile || !file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error =
                QCoreApplication::translate("JobListFile", "The list %1 cannot be read: %2.")
                    .arg(QDir::toNativeSeparators(path),
                         notAFile ? QCoreApplication::translate("JobListFile", "it is not a file")
                                  : file.errorString());
        }
        return false;
    }
    if (file.size() > kMostListBytes) {
        if (error)
            *error =
                QCoreApplication::translate(
                    "JobListFile", "The list %1 cannot be read: it is far too large to be a list.")
                    .arg(QDir::toNativeSeparators(path));
        return false;
    }
    JobList read;
    if (!FromJson(file.readAll(), info.absolutePath(), &read, error))
        return false;

    // A file moved or deleted since the list was saved is left out; the
    // rest of the list is still worth opening.
    QStringList gone;
    JobList kept;
    kept.hasMode = read.hasMode;
    kept.mode = read.mode;
    for (const JobListEntry& entry : std::as_const(read.entries)) {
        if (QFileInfo::exists(entry.filePath))
            kept.entries.append(entry);
        else
            gone.append(entry.filePath);
    }
    if (list)
        *list = std::move(kept);
    if (missing)
        *missing = gone;
    return true;
}

} // namespace JobListFile
