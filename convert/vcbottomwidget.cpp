#include "convert/vcbottomwidget.h"
#include "widgets/stylesheet.h"

#include "app/appfolder.h"
#include "app/platform.h"
#include "convert/convertparams.h"
#include "convert/convertprogresswidget.h"
#include "convert/enginelibrary.h"
#include "convert/joincommand.h"
#include "convert/losslessjob.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "media/addfiles.h"
#include "media/childprocess.h"
#include "media/workfolder.h"
#include "player/videoplayerwidget.h"
#include "resources/spriteregions.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "widgets/mymessagedialog.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"
#include "widgets/sprites.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLabel>
#include <QTimer>
#include <QtConcurrent>
#include <QtEndian>

#include <atomic>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_LINUX
#include <csignal>
#endif

namespace {

const QString kOutputFolderKey = QStringLiteral("DefaultOutputFolder");
constexpr qint64 kSmallestResult = 1024;

// The bar that receives the engine's end callback. The callback carries no
// context pointer, and it may run on an engine thread.
std::atomic<VCBottomWidget*> g_bottomBar{nullptr};

void EngineEnded(int itemid, int flags)
{
    if (VCBottomWidget* bar = g_bottomBar.load())
        emit bar->convertend(itemid, flags);
}

// A file of 1,024 bytes or less is no real result; a missing one counts as 0.
void RemoveTooSmallResult(const QString& path)
{
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    if (info.exists() && info.size() <= kSmallestResult)
        QFile::remove(path);
}

ConvertItem ToConvertItem(const VideoItemWidget* row)
{
    ConvertItem item;
    item.filePath = row->filePath;
    item.mediaInfo = row->mediaInfo;
    item.cutStart = row->cutStart;
    item.cutEnd = row->cutEnd;
    item.audioTrackIndex = row->audioTrackIndex;
    item.itemId = row->itemId;
    return item;
}

// Runs on a pool thread: the engine's facts of one file, or nothing.
QByteArray ReadEngineInfo(int (*getInfo)(const char*, void*, int), const QByteArray& path)
{
    QByteArray info(OrvelaneInfoSize, '\0');
    qToLittleEndian<qint32>(OrvelaneInfoSize, info.data() + OrvelaneInfoOffsetSize);
    if (getInfo(path.constData(), info.data(), 0) != 0)
        return QByteArray();
    return info;
}

} // namespace

VCBottomWidget::VCBottomWidget(QWidget* parent)
    : QWidget(parent), m_background(new QWidget(this)), m_profileCaption(new QLabel(this)),
      m_profileBox(new QLabel(this)), m_profilePanel(new QWidget(this)),
      m_videoIcon(new QLabel(m_profilePanel)), m_videoFactsLabel(new QLabel(m_profilePanel)),
      m_audioIcon(new QLabel(m_profilePanel)), m_audioFactsLabel(new QLabel(m_profilePanel)),
      m_formatMark(new MyPushButton(m_profilePanel)), m_folderCaption(new QLabel(this)),
      m_folderLabel(new QLabel(this)), selectOutputButton(new MyTempButton2(this)),
      m_openButtonFrame(new QWidget(this)), openOutputButton(new MyPushButton(this)),
      convertAllButton(new MyTempButton2(this)), m_exactButton(new MyTempButton2(this)),
      m_keyframeButton(new MyTempButton2(this)), progresstimer(new QTimer(this)),
      m_cutMode(SavedCutMode()), m_clock(&QDateTime::currentDateTime)
{
    g_bottomBar.store(this);

    selectOutputButton->setText(QStringLiteral("..."));
    selectOutputButton->setAlignment(Qt::AlignCenter);
    convertAllButton->setAlignment(Qt::AlignCenter);
    m_formatMark->setEnabledState(false);
    m_videoIcon->setScaledContents(true);
    m_audioIcon->setScaledContents(true);
    m_openButtonFrame->lower();
    m_background->lower();

    connect(selectOutputButton, &MyTempButton2::clicked, this,
            &VCBottomWidget::selectOutputButton_slots);
    connect(openOutputButton, &MyPushButton::clicked, this,
            &VCBottomWidget::openOutputButton_slots);
    connect(convertAllButton, &MyTempButton2::clicked, this,
            &VCBottomWidget::convertAllButton_slots);
    m_exactButton->setAlignment(Qt::AlignCenter);
    m_keyframeButton->setAlignment(Qt::AlignCenter);
    connect(m_exactButton, &MyTempButton2::clicked, this, [this] { setCutMode(CutMode::Exact); });
    connect(m_keyframeButton, &MyTempButton2::clicked, this,
            [this] { setCutMode(CutMode::Keyframe); });
    connect(progresstimer, &QTimer::timeout, this, &VCBottomWidget::progresstimer_slots);
    connect(this, &VCBottomWidget::convertend, this, &VCBottomWidget::ffdec_convertend_slots);

    m_abort = false;
    m_convertHandle = 0;
    m_outputFolder = FolderSetting(kOutputFolderKey);
    m_folderLabel->setText(m_outputFolder);
    ApplySkin();
    LayoutChildren();
    m_formatItemId = 0;
    setOutputFormatItem(QString(), 0);

    EngineLibrary::Load(AppFolder());
}

VCBottomWidget::~VCBottomWidget()
{
    // Background reads call into the engine; let them end first.
    for (QFuture<QByteArray>& future : m_infoPrefetch)
        future.waitForFinished();
    // The engine may be converting on its own thread; Destroy waits for it and
    // guarantees that no callback follows.
    releaseEngineJob();
    // The engine outlives the bar; items it still holds would join the next
    // bar's first job.
    if (const auto delItem = EngineLibrary::Functions().delItem) {
        for (const QString& id : std::as_const(m_engineItemIds))
            delItem(id.toInt(nullptr, 10));
    }
    VCBottomWidget* self = this;
    g_bottomBar.compare_exchange_strong(self, nullptr);
    // A running lossless job ends its tool and removes what it wrote.
    if (m_losslessJob) {
        m_abort = true;
        m_losslessJob->cancel();
    }
}

QProcess* VCBottomWidget::toolProcess() const
{
    return m_losslessJob ? m_losslessJob->process() : nullptr;
}

void VCBottomWidget::setCutMode(CutMode mode)
{
    const bool changed = mode != m_cutMode;
    m_cutMode = mode;
    styleModeButtons();
    if (!changed)
        return;
    SaveCutMode(mode);
    emit cutModeChanged(mode);
}

void VCBottomWidget::styleModeButtons()
{
    // The chosen mode wears the start button's colours, the other the
    // plain button's.
    const bool exact = m_cutMode == CutMode::Exact;
    ApplyPaletteButtonSheets(m_exactButton, exact ? 3 : 2, 11, exact ? 600 : 500);
    ApplyPaletteButtonSheets(m_keyframeButton, exact ? 2 : 3, 11, exact ? 500 : 600);
}

QList<VideoItemWidget*> VCBottomWidget::records() const
{
    const VCMainWidget* main = MainWindow();
    if (!main || !main->mediaList())
        return {};
    return main->mediaList()->itemsInUse();
}

VideoItemWidget* VCBottomWidget::formatRecord(const QList<VideoItemWidget*>& rows) const
{
    for (VideoItemWidget* row : rows) {
        if (row->itemId == m_formatItemId)
            return row;
    }
    return nullptr;
}

void VCBottomWidget::setOutputFormatItem(const QString& name, int id)
{
    m_formatItemId = id;
    const VideoItemWidget* record = formatRecord(records());
    if (name.isEmpty() || !record) {
        m_profilePanel->hide();
        convertAllButton->setEnabledState(false);
        setPlayerControlsEnabled(false);
    } else {
        refreshProfile();
        m_profilePanel->show();
        convertAllButton->setEnabledState(!m_running);
        setPlayerControlsEnabled(true);
    }
    Retranslate();
}

OutputProfile VCBottomWidget::currentProfile() const
{
    const QList<VideoItemWidget*> rows = records();
    const VideoItemWidget* format = formatRecord(rows);
    if (!format)
        return {};
    // Only the first row with sound can count (it lends its sound to a
    // silent format row); copying the facts of every row, for every row
    // added to a long list, would make each addition cost more than the last.
    QList<MediaInfo> voiced;
    for (const VideoItemWidget* row : rows) {
        if (!row->mediaInfo.audioCodec.isEmpty()) {
            voiced.append(row->mediaInfo);
            break;
        }
    }
    return OutputProfileFor(format->mediaInfo, voiced);
}

void VCBottomWidget::refreshProfile()
{
    const OutputProfile profile = currentProfile();
    m_videoFactsLabel->setText(ProfileVideoText(profile));
    m_audioFactsLabel->setText(ProfileAudioText(profile));
    // A half the result will not have is not shown at all: an audio-only
    // profile has no "0x0" picture entry.
    m_videoIcon->setVisible(profile.hasVideo);
    m_videoFactsLabel->setVisible(profile.hasVideo);
    m_audioIcon->setVisible(profile.hasAudio);
    m_audioFactsLabel->setVisible(profile.hasAudio);
    m_audioFactsLabel->setToolTip(
        profile.audioAdded ? tr("The output-format file has no sound; the sound of the other "
                                "files is kept in this format.")
                           : QString());
}

void VCBottomWidget::setPlayerControlsEnabled(bool enabled)
{
    const VCMainWidget* main = MainWindow();
    if (main && main->playerPanel())
        main->playerPanel()->setControlsEnabled(enabled);
}

void VCBottomWidget::setStartEnabled(bool enabled)
{
    // Without an output-format row there is nothing to take the format from;
    // while a job runs a second one cannot start.
    const bool startable = enabled && !m_running && formatRecord(records());
    if (startable != convertAllButton->isEnabledState())
        convertAllButton->setEnabledState(startable);
}

void VCBottomWidget::setRunning(bool running)
{
    if (m_running == running)
        return;
    m_running = running;
    // What cannot act during a job looks it, rather than ignoring presses.
    for (MyTempButton2* button : {m_exactButton, m_keyframeButton}) {
        button->setEnabledState(!running);
        button->setEnabled(!running);
    }
    selectOutputButton->setEnabledState(!running);
    setStartEnabled(!records().isEmpty());
    emit runningChanged(running);
}

void VCBottomWidget::setOutputFolder(const QString& folder)
{
    m_outputFolder = folder;
    m_folderLabel->setText(folder);
}

void VCBottomWidget::refreshStartCaption(bool always)
{
    const int n = static_cast<int>(records().size());
    const QString caption = n > 1 ? tr("Join") : n == 1 ? tr("Cut") : tr("Start");
    // Called for every row added: the button is restyled only on a change.
    if (!always && convertAllButton->text() == caption)
        return;
    convertAllButton->setText(caption);
    convertAllButton->setEnabledState(convertAllButton->isEnabledState());
}

void VCBottomWidget::Retranslate()
{
    m_profileCaption->setText(tr("Profile:"));
    m_exactButton->setText(tr("Exact"));
    m_keyframeButton->setText(tr("Keyframe"));
    m_exactButton->setToolTip(tr("Start on the chosen frame: the frames up to the next keyframe "
                                 "are encoded again, the rest is copied."));
    m_keyframeButton->setToolTip(tr("Copy only, nothing is encoded again: Start moves back to the "
                                    "keyframe at or before it."));
    m_folderCaption->setText(tr("Directory:"));

    const QString caption = QStringLiteral("QLabel{font-size:") + ScaledPx(12) +
                            QStringLiteral(";color:") + SkinColour("txtcolor_main") +
                            QStringLiteral(";font-weight:600;}");
    SetStyleSheet(m_profileCaption, caption);
    SetStyleSheet(m_folderCaption, caption);
    m_profileCaption->adjustSize();
    m_folderCaption->adjustSize();
    const int c = qMax(m_profileCaption->width(), m_folderCaption->width()) + 10;
    const int boxX = Scaled(100);
    m_profileCaption->setGeometry(boxX - c, Scaled(25), c, Scaled(30));
    m_folderCaption->setGeometry(boxX - c, Scaled(65), c, Scaled(30));

    refreshRows(true);
}

void VCBottomWidget::refreshRows(bool always)
{
    refreshStartCaption(always);
    // The profile reads every row: a row without sound beside a marked one
    // with sound changes what the result holds.
    if (formatRecord(records()))
        refreshProfile();
    const int panelHeight = m_profilePanel->height();
    m_videoFactsLabel->adjustSize();
    m_videoFactsLabel->setGeometry(m_videoIcon->x() + m_videoIcon->width() + 5, 0,
                                   m_videoFactsLabel->width() + 10, panelHeight);
    m_audioIcon->move(m_videoFactsLabel->isVisibleTo(m_profilePanel)
                          ? m_videoFactsLabel->x() + m_videoFactsLabel->width() + 20
                          : m_videoIcon->x(),
                      m_audioIcon->y());
    m_audioFactsLabel->adjustSize();
    m_audioFactsLabel->setGeometry(m_audioIcon->x() + m_audioIcon->width() + 5, 0,
                                   m_audioFactsLabel->width() + 10, panelHeight);
}

void VCBottomWidget::ApplySkin()
{
    SetStyleSheet(m_background, QStringLiteral("QWidget{border:1px solid ") +
                                    SkinColour("linecolor") +
                                    QStringLiteral("; background-color:") +
                                    SkinColour("leftbgcolor") + QStringLiteral(";}"));
    SetStyleSheet(m_profileBox, QStringLiteral("QLabel{border: 1px solid #647585; font-size:") +
                                    ScaledPx(12) + QStringLiteral(";color:") +
                                    SkinColour("txtcolor_main2") +
                                    QStringLiteral(";background-color:#16191e;}"));
    const QString facts =
        QStringLiteral("QLabel{font-size:") + ScaledPx(11) + QStringLiteral(";color:");
    SetStyleSheet(m_videoFactsLabel, facts + SkinColour("txtcolor_main2") + QStringLiteral(";}"));
    SetStyleSheet(m_audioFactsLabel, facts + SkinColour("txtcolor_main3") + QStringLiteral(";}"));
    SetStyleSheet(m_folderLabel, QStringLiteral("QLabel{font-size:") + ScaledPx(12) +
                                     QStringLiteral(";padding-left:5px;color:") +
                                     SkinColour("txtcolor_main2") +
                                     QStringLiteral("; border: 1px solid #647585;"
                                                    "background-color:#16191e;}"));
    SetStyleSheet(m_openButtonFrame,
                  QStringLiteral("QWidget{border: 1px solid #647585; border-radius: 0px;}"));

    const QPixmap& sheet = PublicSprite();
    m_videoIcon->setPixmap(
        sheet.copy(Sprites::toRect<QRect>(Sprites::region(Sprites::RegionId::VideoIcon))));
    m_audioIcon->setPixmap(
        sheet.copy(Sprites::toRect<QRect>(Sprites::region(Sprites::RegionId::AudioIcon))));
    ApplySpriteButton(m_formatMark, Sprites::kBottomBarFormatMark, sheet);
    m_formatMark->setEnabledState(false);
    ApplySpriteButton(openOutputButton, Sprites::kBottomBarOpenFolderButton, Public4kSprite());
    ApplyPaletteButtonSheets(selectOutputButton, 2, 10, 500);
    ApplyPaletteButtonSheets(convertAllButton, 3, 16, 600);
    styleModeButtons();
}

void VCBottomWidget::LayoutChildren()
{
    const int w = width();
    const int h = height();
    m_background->setGeometry(0, 0, w, h);
    m_profileCaption->setGeometry(Scaled(10), Scaled(25), Scaled(120), Scaled(30));
    m_profileBox->setGeometry(Scaled(100), Scaled(25), w - Scaled(550), Scaled(28));
    m_profilePanel->setGeometry(Scaled(110), Scaled(25), w - Scaled(560), Scaled(28));
    const int panelHeight = m_profilePanel->height();
    const int iconY = (panelHeight - Scaled(10)) / 2;
    m_videoIcon->setGeometry(0, iconY, Scaled(12), Scaled(10));
    m_audioIcon->setGeometry(0, iconY, Scaled(12), Scaled(10));
    m_videoFactsLabel->setGeometry(m_videoIcon->width() + Scaled(10), 0, Scaled(20), panelHeight);
    m_audioFactsLabel->setGeometry(m_audioIcon->width() + Scaled(10), 0, Scaled(20), panelHeight);
    m_formatMark->setButtonGeometry(m_profilePanel->width() - Scaled(25),
                                    (panelHeight - Scaled(15)) / 2, Scaled(15), Scaled(15));
    m_folderCaption->setGeometry(Scaled(10), Scaled(65), Scaled(106), Scaled(30));
    const int frameX = w - Scaled(478);
    m_openButtonFrame->setGeometry(frameX, Scaled(65), Scaled(28), Scaled(28));
    openOutputButton->setButtonGeometry(w - Scaled(476), Scaled(67), Scaled(24), Scaled(24));
    const int chooseX = frameX - Scaled(46);
    selectOutputButton->setGeometry(chooseX, Scaled(65), Scaled(36), Scaled(28));
    m_folderLabel->setGeometry(Scaled(100), Scaled(65), chooseX - Scaled(100), Scaled(28));
    convertAllButton->setGeometry(w - Scaled(196), (h - Scaled(75)) / 2, Scaled(150), Scaled(75));
    // The cut mode sits right of the profile it applies to.
    m_exactButton->setGeometry(w - Scaled(440), Scaled(25), Scaled(100), Scaled(28));
    m_keyframeButton->setGeometry(w - Scaled(340), Scaled(25), Scaled(100), Scaled(28));
    Retranslate();
}

void VCBottomWidget::selectOutputButton_slots()
{
    const QString current = FolderSetting(kOutputFolderKey);
    const QString answer = QFileDialog::getExistingDirectory(this, tr("Open Directory"), current,
                                                             QFileDialog::ShowDirsOnly |
                                                                 QFileDialog::DontResolveSymlinks);
    if (answer.isEmpty())
        return;
    setOutputFolder(answer);
    SaveFolderSetting(kOutputFolderKey, answer);
}

void VCBottomWidget::openOutputButton_slots()
{
    Platform::OpenFolder(m_outputFolder);
}

void VCBottomWidget::convertAllButton_slots()
{
    if (m_running || !convertAllButton->isEnabledState())
        return;
    const QList<VideoItemWidget*> rows = records();
    if (rows.isEmpty() || !formatRecord(rows))
        return;
    // Refused before anything runs: otherwise the whole job would be done
    // only to fail at the last step.
    const QFileInfo folder(m_outputFolder);
    if (m_outputFolder.isEmpty() || !folder.isDir() || !folder.isWritable()) {
        showNotice(tr("The output folder does not exist or cannot be written to. "
                      "Choose another folder."));
        return;
    }

    if (VCMainWidget* main = MainWindow()) {
        if (main->playerPanel())
            main->playerPanel()->stopPreview();
        main->PlayItem(nullptr);
    }
    setRunning(true);
    if (VCMainWidget* main = MainWindow())
        main->ShowProgress(true);

    m_abort = false;
    m_outputFile.clear();
    m_reencodeNote.clear();
    m_phase = 1;
    convertNextStep();
}

void VCBottomWidget::convertNextStep()
{
    if (m_abort || !m_running)
        return;
    const QList<VideoItemWidget*> rows = records();
    const VideoItemWidget* format = formatRecord(rows);
    if (!format) {
        failJob(tr("Conversion failed."));
        return;
    }
    if (needsEngine(rows)) {
        convertWithEngine();
        return;
    }

    QList<ConvertItem> items;
    for (const VideoItemWidget* row : rows)
        items.append(ToConvertItem(row));
    m_outputFile = FreeOutputFilePath(m_outputFolder, format->mediaInfo.suffix, m_clock);
    delete m_losslessJob;
    m_losslessJob =
        new LosslessJob(items, format->mediaInfo, m_outputFile, m_cutMode, WorkFolder(), this);
    connect(m_losslessJob, &LosslessJob::stepStarted, this, [this](int phase) {
        m_phase = phase;
        emit toolStepStarted(phase, 0);
    });
    connect(m_losslessJob, &LosslessJob::progressChanged, this, &VCBottomWidget::setProgress);
    connect(m_losslessJob, &LosslessJob::finished, this, &VCBottomWidget::onLosslessFinished);
    connect(m_losslessJob, &LosslessJob::reencodeNeeded, this, [this](const QString& reason) {
        qDebug("exact cut re-encoded: %s", qUtf8Printable(reason));
        m_reencodeNote = tr("Re-encoded: %1.").arg(reason);
        m_outputFile.clear();
        convertWithEngine();
    });
    m_losslessJob->start();
}

void VCBottomWidget::onLosslessFinished(bool ok, const QString& message, const QString& note)
{
    if (m_abort || !m_running)
        return;
    m_phase = 0;
    if (VCMainWidget* main = MainWindow())
        main->ShowProgress(false);
    if (!ok) {
        setRunning(false);
        emit jobFinished(false);
        showNotice(message);
        return;
    }
    reportResult(note);
}

void VCBottomWidget::reportResult(const QString& note)
{
    setRunning(false);
    if (!m_outputFile.isEmpty() && QFileInfo::exists(m_outputFile)) {
        const int n = static_cast<int>(records().size());
        QString text = n > 1    ? tr("Join Completed.")
                       : n == 1 ? tr("Cut Completed.")
                                : tr("Conversion completed.");
        // What the user should know about this result, one short line each.
        for (const QString& line : {m_reencodeNote, note}) {
            if (!line.isEmpty())
                text += QLatin1Char('\n') + line;
        }
        MyMessageDialog dialog(window());
        dialog.setupMessage(text);
        dialog.setButtonCaptions(tr("OK"), tr("Open Folder"));
        // Enter closes; opening the folder is a choice of its own.
        dialog.setEnterPressesOk(false);
        CenterOverMainWindow(&dialog);
        emit jobFinished(true);
        dialog.exec();
        if (dialog.result())
            Platform::ShowInFileManager(m_outputFile);
        return;
    }
    emit jobFinished(false);
    showNotice(tr("Conversion failed."));
}

void VCBottomWidget::showNotice(const QString& text)
{
    MyMessageDialog dialog(window());
    dialog.setupMessage(text);
    dialog.setSingleButton(tr("OK"));
    CenterOverMainWindow(&dialog);
    dialog.exec();
}

void VCBottomWidget::failJob(const QString& message)
{
    if (m_losslessJob && m_losslessJob->isRunning())
        m_losslessJob->cancel();
    else
        removePartialResult();
    setRunning(false);
    if (VCMainWidget* main = MainWindow())
        main->ShowProgress(false);
    emit jobFinished(false);
    showNotice(message);
}

void VCBottomWidget::removePartialResult()
{
    // The result name was free when the job chose it, so whatever stands
    // there now was written by this job.
    if (!m_outputFile.isEmpty() && QFileInfo::exists(m_outputFile))
        QFile::remove(m_outputFile);
}

void VCBottomWidget::setProgress(int value)
{
    if (VCMainWidget* main = MainWindow()) {
        if (ConvertProgressWidget* overlay = main->progressOverlay())
            overlay->setProgress(value, true);
    }
}

void VCBottomWidget::abortConversion()
{
    m_abort = true;
    const EngineFunctions& engine = EngineLibrary::Functions();
    const bool engineJob = m_convertHandle != 0;
    if (engineJob && engine.abort)
        engine.abort(m_convertHandle);
    if (VCMainWidget* main = MainWindow())
        main->ShowProgress(false);
    if (m_losslessJob && m_losslessJob->isRunning())
        m_losslessJob->cancel();
    if (engineJob) {
        // Destroy waits for the engine to let go of the file, and no end
        // callback follows, so the partial result can go at once.
        releaseEngineJob();
        progresstimer->stop();
    }
    // A lossless job removes what it wrote itself, and only that.
    if (m_running && engineJob)
        removePartialResult();
    const bool wasRunning = m_running;
    setRunning(false);
    if (wasRunning)
        emit jobFinished(false);
}

void VCBottomWidget::releaseEngineJob()
{
    const EngineFunctions& engine = EngineLibrary::Functions();
    if (m_convertHandle != 0 && engine.destroy)
        engine.destroy(m_convertHandle);
    m_convertHandle = 0;
}

void VCBottomWidget::convertWithEngine()
{
    const EngineFunctions& engine = EngineLibrary::Functions();
    if (!EngineLibrary::loaded()) {
        qDebug("engine library not loaded, the job cannot be converted");
        failJob(tr("Conversion failed."));
        return;
    }
    const QList<VideoItemWidget*> rows = records();
    VideoItemWidget* format = formatRecord(rows);
    if (!format) {
        failJob(tr("Conversion failed."));
        return;
    }
    releaseEngineJob();
    for (const QString& id : std::as_const(m_engineItemIds))
        engine.delItem(id.toInt(nullptr, 10));
    m_engineItemIds.clear();

    for (VideoItemWidget* row : rows) {
        const QByteArray path = row->filePath.toUtf8();
        if (!ensureEngineInfo(row)) {
            failJob(tr("Conversion failed, error code") + QStringLiteral("(-1)."));
            return;
        }
        // The chosen audio track travels in our own copy of the block; the
        // record's block stays as the engine filled it.
        char info[OrvelaneInfoSize];
        std::memcpy(info, row->engineInfo, OrvelaneInfoSize);
        qToLittleEndian<qint32>(qMax(0, row->audioTrackIndex), info + OrvelaneInfoOffsetAudioTrack);
        const int id = engine.addFile(path.constData(), info, 0);
        if (id < 1) {
            failJob(tr("Conversion failed, error code") + QStringLiteral("(-2)."));
            return;
        }
        m_engineItemIds.append(QString::number(id));
        engine.setItemTime(id, row->cutStart, row->cutEnd);
    }

    m_outputFile = FreeOutputFilePath(m_outputFolder, format->mediaInfo.suffix, m_clock);
    const QByteArray block = EngineParameterBlock(m_outputFile, currentProfile());
    if (block.isEmpty()) {
        const QString tooLong =
            tr("The output file path is too long. Choose an output folder with a shorter path.");
        m_outputFile.clear();
        failJob(tooLong);
        return;
    }
    m_convertHandle = engine.convertAll(block.constData(), 0, 0);
    if (m_convertHandle == 0) {
        qDebug("engine refused the conversion into %s", qUtf8Printable(m_outputFile));
        m_outputFile.clear();
        failJob(tr("Conversion failed."));
        return;
    }
    engine.setConvertEndCallback(m_convertHandle, &EngineEnded);
    m_engineLastTime = -1;
    m_engineLastCpu = -1;
    m_engineQuiet.start();
    progresstimer->start(1000);
}

bool VCBottomWidget::needsEngine(const QList<VideoItemWidget*>& rows) const
{
    const VideoItemWidget* format = formatRecord(rows);
    if (!format)
        return false;
    const ConvertItem formatItem = ToConvertItem(format);
    for (const VideoItemWidget* row : rows) {
        if (!IsSameFormat(ToConvertItem(row), formatItem))
            return true;
    }
    return false;
}

void VCBottomWidget::prefetchEngineInfo()
{
    const EngineFunctions& engine = EngineLibrary::Functions();
    const QList<VideoItemWidget*> rows = records();
    if (!EngineLibrary::loaded() || !needsEngine(rows))
        return;
    for (const VideoItemWidget* row : rows) {
        if (row->engineInfo || m_infoPrefetch.contains(row->itemId))
            continue;
        const int id = row->itemId;
        const QString filePath = row->filePath;
        QFuture<QByteArray> future =
            QtConcurrent::run(&ReadEngineInfo, engine.getInfo, filePath.toUtf8());
        m_infoPrefetch.insert(id, future);
        auto* watcher = new QFutureWatcher<QByteArray>(this);
        connect(watcher, &QFutureWatcher<QByteArray>::finished, this,
                [this, watcher, id, filePath] {
                    watcher->deleteLater();
                    // A job may have taken the result already.
                    if (!m_infoPrefetch.contains(id))
                        return;
                    const QByteArray info = m_infoPrefetch.take(id).result();
                    for (VideoItemWidget* row : records()) {
                        if (row->itemId == id && row->filePath == filePath && !row->engineInfo &&
                            info.size() == OrvelaneInfoSize) {
                            row->engineInfo = std::malloc(OrvelaneInfoSize);
                            if (row->engineInfo)
                                std::memcpy(row->engineInfo, info.constData(), OrvelaneInfoSize);
                        }
                    }
                });
        watcher->setFuture(future);
    }
}

bool VCBottomWidget::ensureEngineInfo(VideoItemWidget* row)
{
    if (row->engineInfo)
        return true;
    QByteArray info;
    if (m_infoPrefetch.contains(row->itemId)) {
        // Nearly done already; waiting is shorter than reading again.
        info = m_infoPrefetch.take(row->itemId).result();
    } else {
        info = ReadEngineInfo(EngineLibrary::Functions().getInfo, row->filePath.toUtf8());
    }
    if (info.size() != OrvelaneInfoSize)
        return false;
    row->engineInfo = std::malloc(OrvelaneInfoSize);
    if (!row->engineInfo)
        return false;
    std::memcpy(row->engineInfo, info.constData(), OrvelaneInfoSize);
    return true;
}

void VCBottomWidget::progresstimer_slots()
{
    const EngineFunctions& engine = EngineLibrary::Functions();
    if (m_convertHandle == 0 || !engine.getDuration || !engine.getCurrentTime)
        return;
    const qint64 duration = engine.getDuration(m_convertHandle);
    const qint64 current = engine.getCurrentTime(m_convertHandle);
    setProgress(EngineProgressValue(current, duration));
    if (m_running && !m_abort)
        watchEngine(current);
}

void VCBottomWidget::watchEngine(qint64 current)
{
    // The engine's tool is our child and names the result on its command
    // line. A tool that reads a slow source may go long without a new time,
    // but it uses the processor meanwhile; one that uses none and moves not
    // at all is stuck, and so is an engine whose tool is gone without an end.
    const QList<qint64> tools = ChildProcess::ChildrenNamed(QStringLiteral("ffmpeg"), m_outputFile);
    qint64 cpu = -1;
    for (const qint64 pid : tools)
        cpu = qMax<qint64>(cpu, 0) + qMax<qint64>(0, ChildProcess::CpuTicks(pid));
    const bool alive =
        current != m_engineLastTime || (cpu >= 0 && m_engineLastCpu >= 0 && cpu != m_engineLastCpu);
    m_engineLastTime = current;
    m_engineLastCpu = cpu;
    if (alive || !m_engineQuiet.isValid()) {
        m_engineQuiet.start();
        return;
    }
    if (m_engineQuiet.elapsed() < m_engineStallMs)
        return;
    qDebug("engine job %d made no progress for %lld ms; ended", m_convertHandle,
           qlonglong(m_engineQuiet.elapsed()));
#ifdef Q_OS_LINUX
    // A stopped or hung tool may not obey the engine; it goes first, so
    // that ending the engine's job cannot wait on it.
    for (const qint64 pid : tools)
        ::kill(pid_t(pid), SIGKILL);
#endif
    if (const auto abort = EngineLibrary::Functions().abort)
        abort(m_convertHandle);
    releaseEngineJob();
    progresstimer->stop();
    failJob(tr("Conversion failed.") + QLatin1Char('\n') +
            tr("The conversion stopped making progress and was ended."));
}

void VCBottomWidget::ffdec_convertend_slots(int itemid, int falgs)
{
    // The end of an earlier conversion, queued before it was replaced or
    // cancelled, says nothing about the current one.
    if (m_convertHandle == 0 || itemid != m_convertHandle) {
        qDebug("engine end %d (%d) ignored", itemid, falgs);
        return;
    }
    progresstimer->stop();
    if (falgs == -1 && !m_abort) {
        // The engine's tool failed or was ended from outside: whatever it
        // left is no result, and the user learns that it broke off.
        failJob(tr("Conversion failed.") + QLatin1Char('\n') +
                tr("The media tool stopped before the result was complete."));
        return;
    }
    RemoveTooSmallResult(m_outputFile);
    // The engine says when it failed; a file it left behind then is no
    // result, whatever its size.
    if (falgs != 0 && !m_abort)
        removePartialResult();
    if (VCMainWidget* main = MainWindow())
        main->ShowProgress(false);
    if (!m_abort) {
        reportResult();
        return;
    }
    removePartialResult();
    setRunning(false);
}
