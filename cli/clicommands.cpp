#include "cli/clicommands.h"

#include "app/appfolder.h"
#include "app/commandline.h"
#include "cli/cliitems.h"
#include "cli/cliprober.h"
#include "cli/clireport.h"
#include "cli/signalchannel.h"
#include "convert/conversionjob.h"
#include "convert/progress.h"
#include "list/joblist.h"
#include "media/addfiles.h"
#include "media/resultprobe.h"
#include "media/workfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// The window's settings key for its output folder.
const QString kOutputFolderKey = QStringLiteral("DefaultOutputFolder");

void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

void Complain(const QString& message)
{
    Print(stderr, QStringLiteral("splicora-cli: ") + message + QLatin1Char('\n'));
}

int BadUsage(CliVerb verb, const QString& message)
{
    Complain(message);
    Print(stderr, CliUsageLine(verb) + QLatin1Char('\n'));
    return kExitUsage;
}

int Interrupted()
{
    return 128 + SignalChannel::received();
}

QString Absolute(const QString& path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

// Probes `paths` in the event loop. False when a signal came first.
bool ProbeAll(CliProber& prober, const QStringList& paths, SignalChannel& channel)
{
    QEventLoop loop;
    QObject::connect(&prober, &CliProber::finished, &loop, &QEventLoop::quit);
    QObject::connect(&channel, &SignalChannel::signalled, &loop, &QEventLoop::quit);
    prober.start(paths);
    if (!prober.isDone() && SignalChannel::received() == 0)
        loop.exec();
    return SignalChannel::received() == 0;
}

// A folder of this run's own inside the work folder: the window removes the
// job folders it finds directly in the work folder when it starts, as left
// over from a killed run of its own, and would take a running job's with
// them. Folders of earlier runs of this program that were killed go here.
QString RunWorkFolder()
{
    const QString work = WorkFolder();
    if (work.isEmpty())
        return QString();
    const QDir dir(work);
    const QString prefix = QStringLiteral("cli-");
    const qint64 self = QCoreApplication::applicationPid();
    const QStringList earlier = dir.entryList({prefix + QLatin1Char('*')},
                                              QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& name : earlier) {
        bool ok = false;
        const qint64 pid = name.mid(prefix.size()).toLongLong(&ok);
        if (ok && pid > 0 && pid != self && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            QDir(dir.filePath(name)).removeRecursively();
    }
    const QString folder = dir.filePath(prefix + QString::number(self));
    QDir().mkdir(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return QFileInfo(folder).isDir() ? folder : QString();
}

int TerminalColumns()
{
    winsize size = {};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

// Shows a job's progress the way it was asked for: a line on the terminal
// rewritten in place, JSON lines on stdout, or nothing.
class ProgressOutput
{
public:
    ProgressOutput(CliProgress style, bool quiet)
    {
        if (quiet)
            m_style = CliProgress::None;
        else if (style == CliProgress::Auto)
            m_style = ::isatty(STDERR_FILENO) ? CliProgress::Bar : CliProgress::None;
        else
            m_style = style;
        if (m_style == CliProgress::Bar) {
            m_columns = TerminalColumns();
            // The clock goes on while the tool is quiet.
            m_ticker.setInterval(500);
            QObject::connect(&m_ticker, &QTimer::timeout, &m_ticker, [this] { show(true); });
        }
    }

    bool isJson() const { return m_style == CliProgress::Json; }

    void start()
    {
        m_clock.start();
        if (m_style == CliProgress::Bar)
            m_ticker.start();
    }

    void setPhase(ConversionJob::Phase phase)
    {
        // The end is told by finish(), with its outcome.
        if (phase == ConversionJob::Phase::Idle || phase == ConversionJob::Phase::Done)
            return;
        m_phase = ConversionJob::PhaseName(phase);
        show(true);
    }

    void setValue(int value)
    {
        if (m_tracker.setProgress(value, true))
            show(false);
    }

    void succeeded(const QString& result, const QString& note)
    {
        m_ticker.stop();
        m_tracker.setProgress(ProgressMax, true);
        if (m_style == CliProgress::Json) {
            QJsonObject extra{{QStringLiteral("result"), result}};
            if (!note.isEmpty())
                extra.insert(QStringLiteral("note"), note);
            Print(stdout, QString::fromUtf8(ProgressJsonLine(QStringLiteral("done"), ProgressMax,
                                                             seconds(), extra)));
        } else if (m_style == CliProgress::Bar) {
            m_phase = QStringLiteral("done");
            draw();
            Print(stderr, QStringLiteral("\n"));
        }
    }

    void failed(const QString& phase, const QString& message)
    {
        m_ticker.stop();
        if (m_style == CliProgress::Json) {
            Print(stdout, QString::fromUtf8(
                              ProgressJsonLine(phase, m_tracker.value(), seconds(),
                                               QJsonObject{{QStringLiteral("error"), message}})));
        } else if (m_style == CliProgress::Bar && m_drawnWidth > 0) {
            // The message starts on a line of its own.
            Print(stderr, QStringLiteral("\n"));
        }
    }

private:
    double seconds() const { return m_clock.isValid() ? m_clock.elapsed() / 1000.0 : 0.0; }

    void show(bool force)
    {
        if (m_phase.isEmpty())
            return;
        if (m_style == CliProgress::Json) {
            // One line per change of what a reader sees.
            const QString shown = m_phase + QString::number(PercentOf(m_tracker.value()));
            if (shown == m_lastShown)
                return;
            m_lastShown = shown;
            Print(stdout,
                  QString::fromUtf8(ProgressJsonLine(m_phase, m_tracker.value(), seconds())));
        } else if (m_style == CliProgress::Bar) {
            // A terminal redrawn more often than this only flickers.
            if (!force && m_lastDraw.isValid() && m_lastDraw.elapsed() < 100)
                return;
            draw();
        }
    }

    void draw()
    {
        m_lastDraw.start();
        const double elapsed = seconds();
        const QString text =
            ProgressBarText(m_phase, m_tracker.value(), elapsed,
                            RemainingSeconds(m_tracker.value(), elapsed), m_columns);
        // Spaces cover what a longer line before left.
        const int width = int(text.size());
        Print(stderr, QLatin1Char('\r') + text.leftJustified(qMax(width, m_drawnWidth)));
        m_drawnWidth = width;
    }

    CliProgress m_style = CliProgress::None;
    int m_columns = 80;
    QString m_phase;
    QString m_lastShown;
    ProgressTracker m_tracker;
    QElapsedTimer m_clock;
    QElapsedTimer m_lastDraw;
    QTimer m_ticker;
    int m_drawnWidth = 0;
};

} // namespace

int RunProbeCommand(const CliRequest& request, SignalChannel& channel)
{
    QStringList paths;
    for (const CliInput& input : request.inputs)
        paths << Absolute(input.path);
    CliProber prober;
    if (!ProbeAll(prober, paths, channel))
        return Interrupted();

    int status = kExitDone;
    QJsonArray documents;
    QStringList texts;
    for (const ProbedFile& file : prober.results()) {
        if (!file.ok) {
            Complain(file.path + QStringLiteral(": ") + file.reason);
            status = kExitFailed;
        }
        if (request.json)
            documents.append(ProbeJson(file));
        else if (file.ok)
            texts << ProbeText(file);
    }
    if (request.json)
        Print(stdout, QString::fromUtf8(QJsonDocument(documents).toJson(QJsonDocument::Indented)));
    else if (!texts.isEmpty())
        Print(stdout, texts.join(QLatin1Char('\n')));
    return status;
}

int RunConvertCommand(const CliRequest& request, SignalChannel& channel)
{
    QList<CliInput> inputs = request.inputs;
    int formatIndex = request.formatIndex;
    CutMode mode = request.hasMode ? request.mode : CutMode::Exact;
    if (request.verb == CliVerb::Run) {
        const QString listPath = Absolute(request.jobList);
        JobList list;
        QStringList missing;
        QString error;
        if (!JobListFile::Read(listPath, &list, &missing, &error)) {
            // The reader names the file when it cannot open it, not always
            // when it cannot make sense of it.
            Complain(error.contains(QDir::toNativeSeparators(listPath))
                         ? error
                         : QDir::toNativeSeparators(listPath) + QStringLiteral(": ") + error);
            return kExitFailed;
        }
        for (const QString& path : std::as_const(missing))
            Print(stderr, QStringLiteral("skipped: %1 (not found)\n").arg(path));
        if (list.entries.isEmpty()) {
            Complain(QStringLiteral("nothing is left to convert in %1").arg(listPath));
            return kExitFailed;
        }
        inputs = InputsOfJobList(list);
        formatIndex = qBound(0, list.formatIndex(), int(inputs.size()) - 1);
        if (!request.hasMode && list.hasMode)
            mode = list.mode;
    }
    for (CliInput& input : inputs)
        input.path = Absolute(input.path);

    // What can be refused without reading a file is refused first.
    QString output;
    if (!request.output.isEmpty()) {
        output = Absolute(request.output);
        // The result takes the format input's suffix, as a row's own name
        // gives it.
        const QString problem =
            OutputSuffixProblem(output, QFileInfo(inputs.at(formatIndex).path).suffix());
        if (!problem.isEmpty())
            return BadUsage(request.verb, problem);
        // The job's own answer, before any file is read.
        const QString refused = ConversionJob::OutputFileProblem(output, request.overwrite);
        if (!refused.isEmpty()) {
            const QFileInfo target(output);
            const bool replaceable = target.isFile() && !target.isSymLink();
            Complain(refused + (replaceable && !request.overwrite
                                    ? QStringLiteral(" --overwrite replaces it.")
                                    : QString()));
            return kExitFailed;
        }
    }

    QStringList paths;
    for (const CliInput& input : std::as_const(inputs))
        paths << input.path;
    CliProber prober;
    if (!ProbeAll(prober, paths, channel))
        return Interrupted();
    QList<MediaInfo> infos;
    bool refused = false;
    for (const ProbedFile& file : prober.results()) {
        if (!file.ok) {
            Complain(file.path + QStringLiteral(": ") + file.reason);
            refused = true;
        }
        infos << file.info;
    }
    if (refused)
        return kExitFailed;
    QList<ConvertItem> items;
    QString error;
    if (!MakeConvertItems(inputs, infos, &items, &error))
        return BadUsage(request.verb, error);

    const QString workFolder = RunWorkFolder();
    if (workFolder.isEmpty()) {
        Complain(QStringLiteral("there is no private work folder to write to"));
        return kExitFailed;
    }
    ConversionJob job;
    job.setItems(items, formatIndex);
    job.setCutMode(mode);
    job.setWorkFolder(workFolder);
    if (output.isEmpty())
        job.setOutputFolder(FolderSetting(kOutputFolderKey));
    else
        job.setOutputFile(output, request.overwrite);

    ProgressOutput progress(request.progress, request.quiet);
    QEventLoop loop;
    bool ok = false;
    QString message;
    QString note;
    QObject::connect(&job, &ConversionJob::phaseChanged, &loop,
                     [&progress](ConversionJob::Phase phase) { progress.setPhase(phase); });
    QObject::connect(&job, &ConversionJob::progressChanged, &loop,
                     [&progress](int value) { progress.setValue(value); });
    QObject::connect(&job, &ConversionJob::finished, &loop,
                     [&](bool success, const QString& text, const QString& remark) {
                         ok = success;
                         message = text;
                         note = remark;
                         loop.quit();
                     });
    // The job ends its tool or engine job and removes what it wrote; its
    // finished() follows at once.
    QObject::connect(&channel, &SignalChannel::signalled, &job, [&job] { job.cancel(); });
    progress.start();
    job.start();
    if (SignalChannel::received() != 0)
        job.cancel();
    if (job.isRunning())
        loop.exec();
    QDir().rmdir(workFolder);

    // A signal sent to the whole process group reaches the media tool too;
    // the job may hear of its end before the signal is read, and fail. A
    // result that was finished before the signal stays a result.
    if (!ok && SignalChannel::received() != 0) {
        progress.failed(QStringLiteral("cancelled"), ConversionJob::CancelledMessage());
        Complain(ConversionJob::CancelledMessage());
        return Interrupted();
    }
    if (!ok) {
        progress.failed(QStringLiteral("failed"), message);
        Complain(message);
        return kExitFailed;
    }
    progress.succeeded(job.outputFile(), note);
    if (!request.quiet && !progress.isJson()) {
        Print(stdout, job.outputFile() + QLatin1Char('\n'));
        if (!note.isEmpty())
            Print(stderr, note + QLatin1Char('\n'));
    }
    return kExitDone;
}

namespace {

// Diagnostics go nowhere unless asked for: a terminal is no log.
void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int RunSplicoraCli(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariable("SPLICORA_CLI_DEBUG") != QLatin1String("1"))
        qInstallMessageHandler(DropMessage);

    const CliRequest request = ParseCliArguments(
        app.arguments().mid(1), [](const QString& path) { return QFileInfo(path).isFile(); });
    if (!request.error.isEmpty())
        return BadUsage(request.verb, request.error);
    switch (request.verb) {
    case CliVerb::None:
        Print(stderr, CliUsageText());
        return kExitUsage;
    case CliVerb::Help:
        Print(stdout, CliUsageText());
        return kExitDone;
    case CliVerb::Version:
        Print(stdout, VersionText() + QLatin1Char('\n'));
        return kExitDone;
    default:
        break;
    }

    // The engine library and the media tools are found beside the program.
    SetAppFolder(QCoreApplication::applicationDirPath());
    // One result to check: loading the media libraries into this process
    // would double its memory for a check the prober makes as quickly.
    SetResultProbeInProcess(false);
    // A closed pipe on stdout ends a write, not the program: a job cut off
    // by a signal it does not handle would leave its work behind.
    std::signal(SIGPIPE, SIG_IGN);
    SignalChannel channel;
    if (request.verb == CliVerb::Probe)
        return RunProbeCommand(request, channel);
    return RunConvertCommand(request, channel);
}
