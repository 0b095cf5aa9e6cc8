#pragma once

#include "convert/convertitem.h"
#include "convert/cutmode.h"
#include "convert/outputprofile.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFuture>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class LosslessJob;
class QProcess;
class QTimer;

// One cut or join, from the items to one result file, with no widget in
// sight: the window and the command line both drive it. Items that share the
// output format are cut and joined without re-encoding (LosslessJob); items of
// differing formats, and exact cuts that cannot be spliced, are re-encoded by
// the engine library. A job runs once: it reports progress and its phase, and
// ends exactly once with finished(). A failed or cancelled job leaves no
// result file and no work file, and never replaces a file it did not write.
class ConversionJob : public QObject
{
    Q_OBJECT

public:
    enum class Phase
    {
        Idle,      // not started yet
        Preparing, // reading keyframes, planning the cuts
        Cutting,   // encoding the frames before the first keyframe of a range
        Joining,   // the one pass that copies and joins everything
        Encoding,  // the engine re-encodes the whole job
        Done       // ended, whichever way
    };
    Q_ENUM(Phase)

    explicit ConversionJob(QObject* parent = nullptr);
    // A job destroyed while it runs is cancelled: nothing of it stays.
    ~ConversionJob() override;

    // What to convert, in order, and which of them gives the output format.
    void setItems(const QList<ConvertItem>& items, int formatIndex = 0);
    // The result is named in this folder as the window names it
    // (Join_file_<time>.<suffix>), never on an existing file.
    void setOutputFolder(const QString& folder);
    // Or exactly this file. An existing file fails the job before anything
    // runs unless `overwrite`; even then it is replaced only by a finished,
    // checked result.
    void setOutputFile(const QString& path, bool overwrite = false);
    void setCutMode(CutMode mode) { m_mode = mode; }
    // Seams: the clock that names results, and how long an engine job may
    // show neither progress nor a busy media tool before it is ended as stuck.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    void setEngineStallTimeout(int ms) { m_engineStallMs = ms; }
    // Where pieces and lists are written; the private work folder by default.
    void setWorkFolder(const QString& folder) { m_workFolder = folder; }

    // Checks the request and begins. Every outcome, including a request
    // refused at once, ends in one finished() from the event loop.
    void start();
    // Ends the running tool or engine job and removes what it wrote; then
    // finished(false, cancelledMessage()) follows at once. Nothing happens
    // when the job is not running.
    void cancel();

    bool isRunning() const { return m_running; }
    bool wasCancelled() const { return m_cancelled; }
    Phase phase() const { return m_phase; }
    // Hundredths of a percent, 0 to 10,000; 10,000 only after a success.
    int progress() const { return m_progress; }
    // The result's path once it is chosen; after a failure, empty.
    QString outputFile() const { return m_outputFile; }
    // Whether the job re-encodes (it may decide so after it started).
    bool usesEngine() const { return m_usesEngine; }
    // The media tool process of the lossless steps, while one runs.
    QProcess* toolProcess() const;
    // What a re-encoding of these items writes.
    OutputProfile profile() const;

    // True when the items cannot be joined without re-encoding.
    static bool NeedsEngine(const QList<ConvertItem>& items, int formatIndex);
    // Phase names for reports: "preparing", "cutting", "joining",
    // "encoding", "done", "idle".
    static QString PhaseName(Phase phase);
    static QString CancelledMessage();
    // Why a job cannot write into `folder` (named by the window's rule), or
    // to the file `path`; empty when it can. Callers that ask before they
    // start a job get the job's own answer.
    static QString OutputFolderProblem(const QString& folder);
    static QString OutputFileProblem(const QString& path, bool overwrite);

    // The engine's end for conversion `handle` (the engine's callback, passed
    // on by whoever hears it); ends of other conversions are ignored.
    void engineEnded(int handle, int flags);
    // Reads the engine's progress and watches for a stuck engine; runs every
    // second by itself during an engine job.
    void pollEngine();

signals:
    void phaseChanged(ConversionJob::Phase phase);
    void progressChanged(int value);
    // A media tool step began: 1 for the pieces, 0 for the join pass.
    void toolStepStarted(int step);
    // The engine's end callback arrived for this job (handle, flags).
    void engineEndReceived(int handle, int flags);
    // Once per job. ok: the result is at outputFile() and `note` says what
    // the user should know beyond "completed", a line each (why items of one
    // format were re-encoded, a file that ended early). !ok: `message` says why, in
    // the user's words, and no result is left.
    void finished(bool ok, const QString& message, const QString& note);

private:
    void begin();
    void runLossless();
    // Reads the engine's facts the items lack, then startEngine().
    void runEngine();
    void startEngine();
    void onLosslessFinished(bool ok, const QString& message, const QString& note);
    void succeed(const QString& note);
    void fail(const QString& message);
    void end(bool ok, const QString& message, const QString& note);
    void setPhase(Phase phase);
    void setProgress(int value);
    void releaseEngine();
    void removePartialResult();
    // The name the steps write to: the result itself, or, when an existing
    // file is to be replaced, a free name beside it.
    QString chooseWritePath();
    bool placeResult();

    QList<ConvertItem> m_items;
    int m_formatIndex = 0;
    QString m_outputFolder;
    QString m_requestedFile;
    bool m_overwrite = false;
    CutMode m_mode = CutMode::Exact;
    std::function<QDateTime()> m_clock;
    int m_engineStallMs = 60000;
    QString m_workFolder;

    bool m_running = false;
    bool m_cancelled = false;
    bool m_usesEngine = false;
    Phase m_phase = Phase::Idle;
    int m_progress = 0;
    QString m_outputFile; // what the steps write
    QString m_reencodeNote;
    QPointer<LosslessJob> m_lossless;
    QTimer* m_engineTimer = nullptr;
    int m_engineHandle = 0;
    QList<int> m_engineItems;
    QFuture<QList<QByteArray>> m_infoRead;
    QElapsedTimer m_engineQuiet;
    qint64 m_engineLastTime = -1;
    qint64 m_engineLastCpu = -1;
};
