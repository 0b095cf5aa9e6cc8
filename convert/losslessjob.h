#pragma once

#include "convert/convertitem.h"
#include "convert/cutmode.h"
#include "convert/cutplan.h"
#include "convert/progress.h"

#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>

#include <memory>

class QTemporaryDir;

// A cut or join of rows that share the output's format, made without
// re-encoding where it can be: the frames from an exact start up to the next
// keyframe (and, with reordered frames, after the last one) are encoded
// again to match the source, the sound and every other frame are copied, and
// one pass of the media tool joins it all through concat lists with in and
// out points. Every step's exit is checked and the result is probed before
// the job calls itself done; a failed job leaves no result and no work file.
class LosslessJob : public QObject
{
    Q_OBJECT

public:
    LosslessJob(QList<ConvertItem> items, MediaInfo format, QString outputFile, CutMode mode,
                QString workFolder, QObject* parent = nullptr);
    ~LosslessJob() override;

    void start();
    // Ends the running step; the job then removes what it wrote. No finished
    // signal follows.
    void cancel();

    bool isRunning() const { return m_running; }
    // 1 while the pieces are made, 0 in the join pass.
    int phase() const { return m_phase; }
    QProcess* process() const { return m_process; }
    QString outputFile() const { return m_outputFile; }
    // The kept range of each item after snapping to frames (or keyframes),
    // relative microseconds; known once the job has planned.
    QList<ItemCutPlan> plans() const { return m_plans; }
    // Bytes of picture that were encoded again rather than copied.
    qint64 encodedBytes() const { return m_encodedBytes; }

signals:
    void stepStarted(int phase);
    void progressChanged(int value);
    // Exact cuts of these rows cannot be spliced; nothing was written and the
    // caller re-encodes the whole job instead.
    void reencodeNeeded(const QString& reason);
    // ok: the result is at outputFile(); note says what the user should know
    // beyond "completed" (a file that ended early). !ok: message says why in
    // the user's words and nothing is left behind.
    void finished(bool ok, const QString& message, const QString& note);

private:
    void waitForIndexes();
    void plan();
    void runPrepare();
    void runJoin();
    void verify();
    // Why encoded pieces cannot be joined to their sources' copied frames;
    // empty when they can.
    QString headerMismatch() const;
    void startTool(const QStringList& arguments, int phase);
    void onToolFinished(int exitCode, QProcess::ExitStatus status);
    void onToolOutput();
    void fail(const QString& message);
    void succeed(const QString& note);
    void cleanUp(bool removeResult);
    QString explainToolFailure(QProcess::ExitStatus status) const;
    QString explainShortResult(qint64 actual, qint64 expected) const;
    // The first item whose packets end short of its range, with the time of
    // its last one (relative); -1 when none does.
    int earlyEndingItem(qint64* last) const;
    // Joins once more with `item` ended where it broke off; false when that
    // cannot help or was done already.
    bool joinPastEarlyEnd(int item, qint64 last);
    QString workPath(const QString& name) const;

    QList<ConvertItem> m_items;
    MediaInfo m_format;
    QString m_outputFile;
    CutMode m_mode;
    QString m_workRoot;
    std::unique_ptr<QTemporaryDir> m_work;
    QList<FrameIndex> m_indexes;
    QList<ItemCutPlan> m_plans;
    QStringList m_audioParts;           // per item, empty when no sound is kept
    QList<QStringList> m_encodedPieces; // per item, per encoded piece
    QProcess* m_process = nullptr;
    ProgressTextParser m_parser;
    QString m_toolLog; // the tail of the running step's output
    bool m_running = false;
    bool m_cancelled = false;
    bool m_ownsOutput = false; // the join pass was started on a free name
    int m_phase = 1;
    int m_progressBase = 0;
    int m_progressSpan = 0;
    qint64 m_stepLength = 0;
    qint64 m_expected = 0;
    qint64 m_tolerance = 0;
    qint64 m_encodedBytes = 0;
    // Joined again past a file that broke off: the length chosen at first,
    // and the note about that file (its shortfall still to fill in).
    bool m_rejoined = false;
    qint64 m_chosenLength = 0;
    QString m_earlyEnd;
};
