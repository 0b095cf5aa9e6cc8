#include "convert/losslessjob.h"

#include "app/timetext.h"
#include "media/childprocess.h"
#include "media/frameindex.h"
#include "media/resultprobe.h"
#include "media/workfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// The tail of a step's output kept for explaining a failure.
constexpr qsizetype kToolLogLimit = 32 * 1024;
// A result this small holds no playable range.
constexpr qint64 kSmallestResult = 1024;

QString DisplayName(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString RelativeSeconds(qint64 us)
{
    return ListSeconds(qMax<qint64>(0, us));
}

} // namespace

LosslessJob::LosslessJob(QList<ConvertItem> items, MediaInfo format, QString outputFile,
                         CutMode mode, QString workFolder, QObject* parent)
    : QObject(parent), m_items(std::move(items)), m_format(std::move(format)),
      m_outputFile(std::move(outputFile)), m_mode(mode), m_workRoot(std::move(workFolder)),
      m_process(new QProcess(this))
{
    // Started from the interface thread: the tool goes when the program does.
    ChildProcess::DieWithParent(*m_process);
    connect(m_process, &QProcess::finished, this, &LosslessJob::onToolFinished);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &LosslessJob::onToolOutput);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // A tool that never started sends no finished signal.
        if (error == QProcess::FailedToStart && m_running && !m_cancelled) {
            qDebug("Error: %s", qUtf8Printable(m_process->errorString()));
            fail(tr("The media tool could not be started. Check that ffmpeg is installed."));
        }
    });
}

LosslessJob::~LosslessJob()
{
    if (m_running)
        cancel();
}

QString LosslessJob::workPath(const QString& name) const
{
    return m_work->path() + QLatin1Char('/') + name;
}

void LosslessJob::start()
{
    m_running = true;
    m_cancelled = false;
    for (const ConvertItem& item : std::as_const(m_items)) {
        const QFileInfo source(item.filePath);
        if (!source.isFile() || !source.isReadable()) {
            fail(tr("\"%1\" can no longer be read. It may have been moved or deleted.")
                     .arg(DisplayName(item.filePath)));
            return;
        }
    }
    m_work = std::make_unique<QTemporaryDir>(m_workRoot + QStringLiteral("/job-XXXXXX"));
    if (!m_work->isValid()) {
        fail(tr("The work folder cannot be written to."));
        return;
    }
    // For looking into a job by hand: its pieces and lists stay.
    if (qEnvironmentVariableIsSet("SPLICORA_KEEP_WORK"))
        m_work->setAutoRemove(false);
    waitForIndexes();
}

void LosslessJob::waitForIndexes()
{
    if (!m_running || m_cancelled)
        return;
    FrameIndexCache* cache = FrameIndexCache::instance();
    // The picture is cut by its frames; sound files need the index for the
    // time their clock starts at.
    for (const ConvertItem& item : std::as_const(m_items)) {
        if (!cache->contains(item.filePath)) {
            cache->request(item.filePath, true);
            connect(cache, &FrameIndexCache::indexReady, this, &LosslessJob::waitForIndexes,
                    Qt::UniqueConnection);
            return;
        }
    }
    disconnect(cache, &FrameIndexCache::indexReady, this, &LosslessJob::waitForIndexes);
    plan();
}

void LosslessJob::plan()
{
    m_indexes.clear();
    m_plans.clear();
    QStringList refusals;
    const bool video = !m_format.videoCodec.isEmpty();
    for (const ConvertItem& item : std::as_const(m_items)) {
        const FrameIndex index = FrameIndexCache::instance()->index(item.filePath);
        if (!index.valid || (video && !index.hasVideo)) {
            fail(tr("\"%1\" is damaged or can no longer be read.").arg(DisplayName(item.filePath)));
            return;
        }
        ItemCutPlan plan = PlanItemCut(index, item.cutStart, item.cutEnd, m_mode, m_format.suffix);
        if (!plan.ok) {
            fail(tr("\"%1\" cannot be cut: %2.").arg(DisplayName(item.filePath), plan.error));
            return;
        }
        if (!plan.reencodeReason.isEmpty())
            refusals << plan.reencodeReason;
        m_indexes << index;
        m_plans << plan;
    }
    if (!refusals.isEmpty()) {
        // Nothing is written yet; the caller takes the whole job over.
        m_running = false;
        cleanUp(false);
        emit reencodeNeeded(refusals.first());
        return;
    }
    runPrepare();
}

void LosslessJob::runPrepare()
{
    const bool video = !m_format.videoCodec.isEmpty();
    const bool audio = !m_format.audioCodec.isEmpty();
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"),
                     QStringLiteral("-y")};
    int input = 0;
    int outputs = 0;
    qint64 longest = 0;
    qint64 encoded = 0;
    qint64 total = 0;
    m_audioParts.clear();
    m_encodedPieces.clear();
    const bool oneTrack =
        std::all_of(m_items.begin(), m_items.end(), [this](const ConvertItem& item) {
            return qMax(0, item.audioTrackIndex) == qMax(0, m_items.first().audioTrackIndex);
        });
    for (int i = 0; i < m_items.size(); ++i) {
        const ConvertItem& item = m_items[i];
        const ItemCutPlan& plan = m_plans[i];
        const FrameIndex& index = m_indexes[i];
        total += plan.keptDuration();
        const QString source = QStringLiteral("file:") + item.filePath;
        QString audioPart;
        // The join pass reads one sound track from every file; where the
        // rows chose different tracks, each file's track is copied into a
        // part of its own first.
        if (audio && !oneTrack) {
            audioPart = workPath(QStringLiteral("audio_%1.mka").arg(i));
            args << QStringLiteral("-ss") << RelativeSeconds(plan.keptStart)
                 << QStringLiteral("-to") << RelativeSeconds(plan.keptEnd) << QStringLiteral("-i")
                 << source << QStringLiteral("-map")
                 << QStringLiteral("%1:a:%2?").arg(input).arg(qMax(0, item.audioTrackIndex))
                 << QStringLiteral("-c") << QStringLiteral("copy") << QStringLiteral("-copypriorss")
                 << QStringLiteral("0") << QStringLiteral("-f") << QStringLiteral("matroska")
                 << audioPart;
            ++input;
            ++outputs;
            longest = qMax(longest, plan.keptDuration());
        }
        m_audioParts << audioPart;
        QStringList pieces;
        if (video) {
            const QStringList encoder = SpliceEncoderOptions(index, m_format.suffix);
            const qint64 half = index.frameDuration() / 2;
            for (int p = 0; p < plan.video.size(); ++p) {
                const CutPiece& piece = plan.video[p];
                if (piece.kind != CutPiece::Encode)
                    continue;
                const QString file =
                    workPath(QStringLiteral("piece_%1_%2.%3").arg(i).arg(p).arg(m_format.suffix));
                // Half a frame early, so that the first frame is taken
                // however its time was rounded.
                // Only the piece's own stretch is read and decoded.
                args << QStringLiteral("-ss")
                     << RelativeSeconds(piece.start - index.startTime - half)
                     << QStringLiteral("-t") << RelativeSeconds(piece.duration + 2 * half)
                     << QStringLiteral("-i") << source << QStringLiteral("-map")
                     << QStringLiteral("%1:v:0").arg(input) << QStringLiteral("-an")
                     << QStringLiteral("-sn") << QStringLiteral("-dn")
                     << QStringLiteral("-map_metadata") << QStringLiteral("-1")
                     << QStringLiteral("-frames:v") << QString::number(piece.frames)
                     << QStringLiteral("-fps_mode")
                     << QStringLiteral("passthrough")
                     // The piece's own clock starts at its first frame, so the
                     // join places it exactly where its range begins.
                     << QStringLiteral("-vf") << QStringLiteral("setpts=PTS-STARTPTS") << encoder
                     << file;
                ++input;
                ++outputs;
                pieces << file;
                longest = qMax(longest, piece.duration);
                encoded += piece.duration;
            }
        }
        m_encodedPieces << pieces;
    }
    m_expected = total;
    // Each join may round by a frame; sound parts end on their own packets.
    qint64 frame = 0;
    for (const FrameIndex& index : std::as_const(m_indexes))
        frame = qMax(frame, index.frameDuration());
    const qint64 audioFrame =
        audio ? AudioFrameDuration(m_format.audioCodec, m_format.sampleRate) : 0;
    m_tolerance = 100000 + qint64(m_items.size()) * (frame + audioFrame);

    // The pieces take a share of the bar by how much work they are.
    const double prepareWork = double(encoded) * 4.0 + (audio ? double(total) * 0.2 : 0.0);
    const double share = prepareWork / (prepareWork + double(qMax<qint64>(1, total)));
    m_progressBase = 0;
    m_progressSpan = outputs ? int(9999 * qBound(0.05, share, 0.9)) : 0;
    m_stepLength = longest;
    if (outputs == 0) {
        runJoin();
        return;
    }
    startTool(args, 1);
}

void LosslessJob::runJoin()
{
    if (!m_running || m_cancelled)
        return;
    // Every piece must be there: a step that wrote nothing would otherwise
    // make a join of the rest.
    m_encodedBytes = 0;
    for (int i = 0; i < m_items.size(); ++i) {
        for (const QString& piece : m_encodedPieces.value(i))
            m_encodedBytes += QFileInfo(piece).size();
        QStringList expected = m_encodedPieces.value(i);
        if (!m_audioParts.value(i).isEmpty())
            expected << m_audioParts[i];
        for (const QString& file : std::as_const(expected)) {
            if (!file.isEmpty() && QFileInfo(file).size() <= 0) {
                const bool sound = file == m_audioParts.value(i);
                fail(sound ? tr("\"%1\" has no sound track %2 in the kept range.")
                                 .arg(DisplayName(m_items[i].filePath))
                                 .arg(m_items[i].audioTrackIndex + 1)
                           : tr("\"%1\" is damaged: its frames could not be read.")
                                 .arg(DisplayName(m_items[i].filePath)));
                return;
            }
        }
    }

    const QString mismatch = headerMismatch();
    if (!mismatch.isEmpty()) {
        // Nothing reached the output yet; the caller encodes the job instead.
        m_running = false;
        cleanUp(false);
        emit reencodeNeeded(mismatch);
        return;
    }

    const bool video = !m_format.videoCodec.isEmpty();
    const bool audio = !m_format.audioCodec.isEmpty();
    QList<ConcatEntry> pictures;
    QList<ConcatEntry> sounds;
    for (int i = 0; i < m_items.size(); ++i) {
        const ItemCutPlan& plan = m_plans[i];
        if (video) {
            int encodedIndex = 0;
            for (const CutPiece& piece : plan.video) {
                ConcatEntry entry;
                entry.duration = piece.duration;
                if (piece.kind == CutPiece::Encode) {
                    entry.path = m_encodedPieces[i].value(encodedIndex++);
                } else {
                    entry.path = m_items[i].filePath;
                    // Just past the keyframe, so that the seek cannot fall
                    // back to the keyframe before it through rounding.
                    entry.inpoint = piece.start + 1;
                    entry.outpoint = piece.outpoint;
                }
                pictures << entry;
            }
        }
        if (audio) {
            // Straight from the file, over the same stretch as the picture.
            // The reader starts a little early (at the picture's keyframe);
            // those packets are dropped in the join pass below.
            ConcatEntry entry;
            entry.path = m_items[i].filePath;
            entry.duration = plan.keptDuration();
            if (!m_audioParts[i].isEmpty()) {
                entry.path = m_audioParts[i];
            } else {
                const qint64 origin = m_indexes[i].startTime;
                entry.inpoint = origin + plan.keptStart;
                entry.outpoint = origin + plan.keptEnd;
            }
            sounds << entry;
        }
    }

    // Times as the lists give them: shifting each list to start at 0 would
    // move the sound by the stretch its reader starts early.
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"),
                     QStringLiteral("-n"), QStringLiteral("-copyts")};
    int input = 0;
    QStringList maps;
    const auto addList = [&](const QList<ConcatEntry>& entries, const QString& name,
                             const QString& stream) {
        const QByteArray bytes = ConcatListBytes(entries);
        QFile list(workPath(name));
        if (bytes.isEmpty() || !list.open(QIODevice::WriteOnly) ||
            list.write(bytes) != bytes.size() || !list.flush())
            return false;
        list.close();
        qDebug("%s:\n%s", qUtf8Printable(name), bytes.constData());
        args << QStringLiteral("-f") << QStringLiteral("concat") << QStringLiteral("-safe")
             << QStringLiteral("0") << QStringLiteral("-i") << list.fileName();
        maps << QStringLiteral("-map") << QStringLiteral("%1:%2").arg(input++).arg(stream);
        return true;
    };
    const int track =
        m_audioParts.value(0).isEmpty() ? qMax(0, m_items.first().audioTrackIndex) : 0;
    if ((video && !addList(pictures, QStringLiteral("video.ffconcat"), QStringLiteral("v:0"))) ||
        (audio &&
         !addList(sounds, QStringLiteral("audio.ffconcat"), QStringLiteral("a:%1").arg(track)))) {
        fail(tr("A file name holds a line break and cannot be joined. Rename the file."));
        return;
    }
    args << maps << QStringLiteral("-c")
         << QStringLiteral("copy")
         // Packets shown before the start go; the picture's first packet is
         // always the keyframe at the start.
         << QStringLiteral("-copypriorss") << QStringLiteral("0");
    if (audio) {
        // Each file's reader starts at its picture's keyframe, so its first
        // sound packets fall before the end of the file ahead of it: a packet
        // decoded no later than the last one written is dropped.
        args << QStringLiteral("-bsf:a")
             << QStringLiteral("setts=dts=if(lte(DTS\\,PREV_OUTDTS)\\,PREV_OUTDTS\\,DTS)"
                               ":pts=if(lte(DTS\\,PREV_OUTDTS)\\,NOPTS\\,PTS),"
                               "noise=drop=eq(pts\\,nopts)");
    }
    args << m_outputFile;
    // The name was free when the job chose it; a file that has appeared
    // there since is somebody else's and is never removed.
    if (QFileInfo::exists(m_outputFile) || QFileInfo(m_outputFile).isSymLink()) {
        fail(tr("A file named \"%1\" appeared in the output folder; nothing was written.")
                 .arg(DisplayName(m_outputFile)));
        return;
    }
    m_ownsOutput = true;
    m_progressBase = m_progressSpan;
    m_progressSpan = 9999 - m_progressBase;
    m_stepLength = m_expected;
    startTool(args, 0);
}

QString LosslessJob::headerMismatch() const
{
    // H.264 pieces carry their own parameter sets in the join; HEVC ones are
    // read with the first file's, so they must match the source's exactly.
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_indexes.value(i).codec != QLatin1String("hevc"))
            continue;
        const QList<QByteArray> expected = HevcParameterSets(m_indexes[i].extradata);
        for (const QString& piece : m_encodedPieces.value(i)) {
            bool ok = false;
            const QByteArray output = RunProber(ExtradataArguments(piece), &ok);
            const QList<QByteArray> made = HevcParameterSets(ParseExtradata(output));
            if (!ok || expected.isEmpty() || made != expected) {
                qDebug("parameter sets of %s differ from %s", qUtf8Printable(piece),
                       qUtf8Printable(m_items[i].filePath));
                return tr("the encoder settings of \"%1\" cannot be matched")
                    .arg(DisplayName(m_items[i].filePath));
            }
        }
    }
    return QString();
}

void LosslessJob::startTool(const QStringList& arguments, int phase)
{
    m_phase = phase;
    m_parser.reset();
    m_toolLog.clear();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    QString line;
    for (const QString& argument : arguments)
        line += QLatin1Char(' ') + argument;
    qDebug("%s\n", qUtf8Printable(line));
    m_process->start(FfmpegPath(), arguments, QIODevice::ReadOnly);
    if (m_running && !m_cancelled)
        emit stepStarted(phase);
}

void LosslessJob::onToolOutput()
{
    const QString output = QString::fromUtf8(m_process->readAllStandardOutput());
    if (output.isEmpty())
        return;
    qDebug("%s", qUtf8Printable(output));
    m_toolLog += output;
    if (m_toolLog.size() > kToolLogLimit)
        m_toolLog.remove(0, m_toolLog.size() - kToolLogLimit);
    if (m_cancelled || m_stepLength <= 0)
        return;
    for (const qint64 time : m_parser.feed(output)) {
        const int value = PassProgressValue(time, m_stepLength, m_progressBase, m_progressSpan);
        if (value >= 0)
            emit progressChanged(value);
    }
}

void LosslessJob::onToolFinished(int exitCode, QProcess::ExitStatus status)
{
    onToolOutput();
    if (!m_running || m_cancelled)
        return;
    // The concat reader takes a file it cannot open for the end of its list
    // and the tool still ends well, with the rest of the job missing.
    const bool lostInput = m_toolLog.contains(QLatin1String("Impossible to open"));
    if (status != QProcess::NormalExit || exitCode != 0 || lostInput) {
        qDebug("media tool step %d ended with status %d, code %d", m_phase, int(status), exitCode);
        fail(explainToolFailure(status));
        return;
    }
    if (m_phase == 1)
        runJoin();
    else
        verify();
}

QString LosslessJob::explainToolFailure(QProcess::ExitStatus status) const
{
    const QString log = m_toolLog;
    if (log.contains(QLatin1String("No space left on device")) ||
        log.contains(QLatin1String("File too large")))
        return tr("There is not enough room in the output folder. Free some space or choose "
                  "another folder.");
    if (log.contains(QLatin1String("matches no streams")))
        return tr("A file has no sound track of the number chosen in its row.");
    for (const ConvertItem& item : m_items) {
        for (const QString& line : log.split(QLatin1Char('\n'))) {
            if (!line.contains(item.filePath))
                continue;
            if (line.contains(QLatin1String("No such file")) ||
                line.contains(QLatin1String("Permission denied")) ||
                !QFileInfo(item.filePath).isReadable())
                return tr("\"%1\" can no longer be read. It may have been moved or deleted.")
                    .arg(DisplayName(item.filePath));
            return tr("\"%1\" is damaged and cannot be read.").arg(DisplayName(item.filePath));
        }
    }
    if (log.contains(m_outputFile) && log.contains(QLatin1String("Permission denied")))
        return tr("The output folder cannot be written to. Choose another folder.");
    if (status != QProcess::NormalExit)
        return tr("The media tool stopped unexpectedly.");
    return tr("Conversion failed.");
}

void LosslessJob::verify()
{
    // A file this small holds no playable range, whatever the prober says.
    if (QFileInfo(m_outputFile).size() <= kSmallestResult) {
        fail(tr("Conversion failed."));
        return;
    }
    const ResultFacts facts = ProbeResultFile(m_outputFile);
    const bool picture = facts.streamTypes.contains(QLatin1String("video"));
    const bool sound = facts.streamTypes.contains(QLatin1String("audio"));
    if (!facts.readable || picture != !m_format.videoCodec.isEmpty() ||
        sound != !m_format.audioCodec.isEmpty()) {
        fail(tr("The result cannot be played back; it was removed."));
        return;
    }
    const qint64 actual = facts.duration;
    const qint64 chosen = m_rejoined ? m_chosenLength : m_expected;
    if (actual < m_expected - m_tolerance) {
        qint64 last = 0;
        const int item = m_rejoined ? -1 : earlyEndingItem(&last);
        if (item >= 0 && joinPastEarlyEnd(item, last))
            return;
        succeed(explainShortResult(actual, chosen));
        return;
    }
    if (m_rejoined) {
        succeed(m_earlyEnd.arg(QString::number(double(chosen - actual) / 1e6, 'f', 1)));
        return;
    }
    if (actual > m_expected + m_tolerance)
        qDebug("result lasts %lld us, %lld expected", qlonglong(actual), qlonglong(m_expected));
    succeed(QString());
}

int LosslessJob::earlyEndingItem(qint64* last) const
{
    // Which file ran out: the last packet each one yields within its range.
    const bool video = !m_format.videoCodec.isEmpty();
    for (int i = 0; i < m_items.size(); ++i) {
        const ItemCutPlan& plan = m_plans[i];
        const qint64 origin = video ? m_indexes[i].startTime : 0;
        bool ok = false;
        const QByteArray output = RunProber(
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
             video ? QStringLiteral("v:0") : QStringLiteral("a:0"),
             QStringLiteral("-read_intervals"),
             ListSeconds(origin + plan.keptStart) + QLatin1Char('%') +
                 ListSeconds(origin + plan.keptEnd),
             QStringLiteral("-show_entries"), QStringLiteral("packet=pts_time"),
             QStringLiteral("-of"), QStringLiteral("csv=p=0"),
             QStringLiteral("file:") + m_items[i].filePath},
            &ok);
        *last = plan.keptStart;
        for (const QString& line : QString::fromUtf8(output).split(QLatin1Char('\n'))) {
            bool good = false;
            const double seconds = line.trimmed().toDouble(&good);
            if (good)
                *last = qMax(*last, qint64(seconds * 1e6) - origin);
        }
        if (plan.keptEnd - *last > m_tolerance)
            return i;
    }
    return -1;
}

bool LosslessJob::joinPastEarlyEnd(int item, qint64 last)
{
    // The tool stops reading at a file that breaks off, so the files after
    // it would be missing too. Joined again with that file ended before its
    // last packet (which may be the broken one), they are kept.
    if (m_rejoined || item + 1 >= m_items.size() || !m_audioParts.value(item).isEmpty())
        return false;
    const qint64 frame = qMax<qint64>(1, m_indexes.value(item).frameDuration());
    ItemCutPlan shorter = m_plans[item];
    if (!EndPlanEarly(m_indexes[item], last - frame, &shorter))
        return false;
    qDebug("\"%s\" ends at %lld us; joining again with its range ended at %lld us",
           qUtf8Printable(m_items[item].filePath), qlonglong(last), qlonglong(shorter.keptEnd));
    m_rejoined = true;
    m_chosenLength = m_expected;
    m_expected -= m_plans[item].keptEnd - shorter.keptEnd;
    m_plans[item] = shorter;
    QFile::remove(m_outputFile);
    m_ownsOutput = false;
    m_earlyEnd = tr("\"%1\" ended early at %2, so the result is %3 s shorter than chosen.")
                     .arg(DisplayName(m_items[item].filePath), TimeToString(shorter.keptEnd));
    runJoin();
    return true;
}

QString LosslessJob::explainShortResult(qint64 actual, qint64 expected) const
{
    const QString shortfall = QString::number(double(expected - actual) / 1e6, 'f', 1);
    qint64 last = 0;
    const int item = earlyEndingItem(&last);
    if (item >= 0) {
        // Whatever the tool stopped at, the shortfall is the whole result's.
        return tr("\"%1\" ended early at %2, so the result is %3 s shorter than chosen.")
            .arg(DisplayName(m_items[item].filePath), TimeToString(last))
            .arg(shortfall);
    }
    return tr("The result is %1 s shorter than chosen.").arg(shortfall);
}

void LosslessJob::fail(const QString& message)
{
    if (!m_running)
        return;
    m_running = false;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(3000);
    }
    cleanUp(true);
    emit finished(false, message, QString());
}

void LosslessJob::succeed(const QString& note)
{
    m_running = false;
    cleanUp(false);
    emit finished(true, QString(), note);
}

void LosslessJob::cancel()
{
    m_cancelled = true;
    const bool wasRunning = m_running;
    m_running = false;
    disconnect(FrameIndexCache::instance(), nullptr, this, nullptr);
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(3000);
    }
    if (wasRunning)
        cleanUp(true);
}

void LosslessJob::cleanUp(bool removeResult)
{
    if (removeResult && m_ownsOutput && QFileInfo::exists(m_outputFile))
        QFile::remove(m_outputFile);
    m_work.reset();
}
