#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class QProcess;

// One packet of a file's first video stream, in decode order. Times are
// absolute microseconds of the file's own clock (not shifted by its start).
struct VideoPacket
{
    qint64 pts = 0;
    qint64 dts = 0;
    bool key = false;
};

// Where a file's frames and keyframes lie, and the facts of its first video
// stream that an encoder needs to make frames that splice into it. Read once
// per file, in the background, by the media tool's prober.
struct FrameIndex
{
    bool valid = false;
    QString error; // why the file could not be read, when not valid

    qint64 startTime = 0; // absolute microseconds of the file's 0
    qint64 duration = 0;  // microseconds

    bool hasVideo = false;
    QString codec; // decoder name of the first video stream ("h264")
    QString profile;
    int level = 0;
    QString pixelFormat;
    QString codecTag; // e.g. "avc1", "XVID"
    int width = 0;
    int height = 0;
    int timeBaseNum = 0;
    int timeBaseDen = 0;
    int rateNum = 0; // average frame rate
    int rateDen = 0;
    int reorderDelay = 0; // frames a decoder holds back (B-frame depth)
    QString colorRange, colorSpace, colorTransfer, colorPrimaries;
    QByteArray extradata;       // the codec's global headers as stored in the file
    QList<VideoPacket> packets; // decode order

    // Presentation times (absolute) of all frames, sorted.
    QList<qint64> framePts;
    // Presentation times (absolute) of keyframes, sorted.
    QList<qint64> keyframePts;
    // Where a copy that starts at a keyframe can end without leaving out a
    // frame shown before the end or keeping one shown after it: every frame
    // decoded up to `bound` is shown before `end`, and every later one at or
    // after it. Sorted by end; absolute times.
    struct CleanEnd
    {
        qint64 end = 0;
        qint64 bound = 0; // a decode time between the last kept packet and the next
    };
    QList<CleanEnd> cleanEnds;
    // A keyframe followed in decode order by frames shown before it: such
    // a stream cannot be spliced at its keyframes.
    bool openGop = false;

    // The length of one frame in microseconds (from the average rate, else the
    // most common step between frames); 0 without video.
    qint64 frameDuration() const;
    // Keyframe times relative to the file's start, as the window shows them.
    QList<qint64> keyframeTimes() const;
};

// The prober's arguments for `path`: the container and stream facts and
// every packet of the first video stream (decode order, with flags).
QStringList FrameIndexArguments(const QString& path);

// The prober's arguments for the first video stream's global headers, and
// reading them from its output.
QStringList ExtradataArguments(const QString& path);
QByteArray ParseExtradata(const QByteArray& output);

// Reads the prober's output of FrameIndexArguments.
FrameIndex ParseFrameIndex(const QByteArray& output);

// Splits one line of the prober's compact output ("section|key=value|...")
// into its fields, undoing the writer's escapes; returns the section.
QString ParseProbeLine(const QString& line, QMap<QString, QString>* fields);

// The bytes of the prober's hex dump ("00000000: 0101 6000 ...  ascii", one
// line per 16 bytes).
QByteArray ParseHexDump(const QString& dump);

// Start, relative to the file's start, snapped to the keyframe at or before
// it (the first keyframe when none is before it). Unchanged without keyframes.
qint64 SnapToKeyframe(const FrameIndex& index, qint64 relativeTime);

// End, relative to the file's start, moved back to the nearest point at or
// before it where a copy can end cleanly (a frame boundary, or with reordered
// frames the end of a group of them). Unchanged without an index.
qint64 SnapEndToCleanPoint(const FrameIndex& index, qint64 relativeTime);

// The range [start, end) (relative) as a keyframe cut keeps it: the start
// snapped (with `startSlack` of extra reach), then the end, each only where
// at least `minimumLength` stays between them; otherwise that end stays.
struct SnappedRange
{
    qint64 start = 0;
    qint64 end = 0;
};
SnappedRange SnapRangeForKeyframeCut(const FrameIndex& index, qint64 start, qint64 end,
                                     qint64 minimumLength, qint64 startSlack = 0);

// The prober beside the media tool, else on PATH.
QString FfprobePath();

// Frame indexes of the files in the list, read in the background one file
// at a time and kept until the file is forgotten. One cache serves the window
// (keyframe ticks, snapping) and the jobs.
class FrameIndexCache : public QObject
{
    Q_OBJECT

public:
    static FrameIndexCache* instance();

    explicit FrameIndexCache(QObject* parent = nullptr);
    ~FrameIndexCache() override;

    // Queues `path` unless it is known or queued. `urgent` puts it first.
    void request(const QString& path, bool urgent = false);
    bool contains(const QString& path) const;
    // The index, or an invalid one while it is not read yet.
    FrameIndex index(const QString& path) const;
    void forget(const QString& path);
    bool isBusy() const;

signals:
    // Emitted once per request when the index is read (valid or not).
    void indexReady(const QString& path);

private:
    void startNext();
    void startProber(const QStringList& arguments);
    void onFinished();

    QHash<QString, std::shared_ptr<const FrameIndex>> m_done;
    QStringList m_queue;
    QSet<QString> m_queued; // the paths in m_queue
    QString m_current;
    QProcess* m_process = nullptr;
    FrameIndex m_pending; // the index being read, between its two steps
    bool m_readingHeaders = false;
    quint64 m_runs = 0; // prober runs started, to tell a stale timeout
};
