#include "convert/vcbottomwidget.h"
#include "widgets/stylesheet.h"

#include "app/appfolder.h"
#include "app/platform.h"
#include "convert/conversionjob.h"
#include "convert/convertprogresswidget.h"
#include "convert/engineinfo.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "media/addfiles.h"
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
#include <QLabel>

#include <cstdlib>
#include <cstring>

namespace {

const QString kOutputFolderKey = QStringLiteral("DefaultOutputFolder");

ConvertItem ToConvertItem(const VideoItemWidget* row)
{
    ConvertItem item;
    item.filePath = row->filePath;
    item.mediaInfo = row->mediaInfo;
    item.cutStart = row->cutStart;
    item.cutEnd = row->cutEnd;
    item.audioTrackIndex = row->audioTrackIndex;
    item.itemId = row->itemId;
    if (row->engineInfo)
        item.engineInfo =
            QByteArray(static_cast<const char*>(row->engineInfo), EngineInfo::BlockSize());
    return item;
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
      m_keyframeButton(new MyTempButton2(this)), m_infoPrefetch(new EngineInfoPrefetch(this)),
      m_cutMode(SavedCutMode()), m_clock(&QDateTime::currentDateTime)
{

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
    connect(m_infoPrefetch, &EngineInfoPrefetch::ready, this,
            [this](const QString& path, const QByteArray& info) {
                if (info.size() != EngineInfo::BlockSize())
                    return;
                for (VideoItemWidget* row : records()) {
                    if (row->filePath != path || row->engineInfo)
                        continue;
                    row->engineInfo = std::malloc(size_t(info.size()));
                    if (row->engineInfo)
                        std::memcpy(row->engineInfo, info.constData(), size_t(info.size()));
                }
            });

    m_abort = false;
    m_outputFolder = FolderSetting(kOutputFolderKey);
    m_folderLabel->setText(m_outputFolder);
    ApplySkin();
    LayoutChildren();
    m_formatItemId = 0;
    setOutputFormatItem(QString(), 0);

    EngineInfo::LoadEngine();
}

VCBottomWidget::~VCBottomWidget()
{
    // A running job ends its tool or engine job and removes what it wrote,
    // while the bar it reports to still stands.
    m_abort = true;
    delete m_job;
}

QProcess* VCBottomWidget::toolProcess() const
{
    return m_job ? m_job->toolProcess() : nullptr;
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

QList<ConvertItem> VCBottomWidget::jobItems(const QList<VideoItemWidget*>& rows,
                                            int* formatIndex) const
{
    QList<ConvertItem> items;
    items.reserve(rows.size());
    for (const VideoItemWidget* row : rows) {
        if (row->itemId == m_formatItemId)
            *formatIndex = static_cast<int>(items.size());
        items.append(ToConvertItem(row));
    }
    return items;
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
    const QString problem = ConversionJob::OutputFolderProblem(m_outputFolder);
    if (!problem.isEmpty()) {
        showNotice(problem);
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
    m_phase = 1;

    int formatIndex = 0;
    QList<ConvertItem> items = jobItems(rows, &formatIndex);
    // Facts being read in the background are nearly there; waiting is
    // shorter than reading them again.
    for (ConvertItem& item : items) {
        if (item.engineInfo.isEmpty() && m_infoPrefetch->isPending(item.filePath))
            item.engineInfo = m_infoPrefetch->take(item.filePath);
    }
    if (m_job)
        m_job->deleteLater();
    m_job = new ConversionJob(this);
    m_job->setItems(items, formatIndex);
    m_job->setOutputFolder(m_outputFolder);
    m_job->setCutMode(m_cutMode);
    m_job->setClock(m_clock);
    m_job->setEngineStallTimeout(m_engineStallMs);
    connect(m_job, &ConversionJob::toolStepStarted, this, [this](int step) {
        m_phase = step;
        emit toolStepStarted(step, 0);
    });
    connect(m_job, &ConversionJob::progressChanged, this, &VCBottomWidget::setProgress);
    connect(m_job, &ConversionJob::engineEndReceived, this, &VCBottomWidget::convertend);
    connect(m_job, &ConversionJob::finished, this, &VCBottomWidget::onJobFinished);
    m_job->start();
}

void VCBottomWidget::onJobFinished(bool ok, const QString& message, const QString& note)
{
    // A cancelled job was reported by the cancel itself.
    if (m_abort || !m_running)
        return;
    m_phase = 0;
    m_outputFile = m_job ? m_job->outputFile() : QString();
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
        if (!note.isEmpty())
            text += QLatin1Char('\n') + note;
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
    if (VCMainWidget* main = MainWindow())
        main->ShowProgress(false);
    // The job ends its tool or engine job and removes what it wrote, and
    // only that.
    if (m_job)
        m_job->cancel();
    const bool wasRunning = m_running;
    setRunning(false);
    if (wasRunning)
        emit jobFinished(false);
}

void VCBottomWidget::prefetchEngineInfo()
{
    const QList<VideoItemWidget*> rows = records();
    if (!formatRecord(rows))
        return;
    int formatIndex = 0;
    if (!ConversionJob::NeedsEngine(jobItems(rows, &formatIndex), formatIndex))
        return;
    for (const VideoItemWidget* row : rows) {
        if (!row->engineInfo)
            m_infoPrefetch->request(row->filePath);
    }
}

void VCBottomWidget::progresstimer_slots()
{
    if (m_job)
        m_job->pollEngine();
}

void VCBottomWidget::ffdec_convertend_slots(int itemid, int falgs)
{
    if (m_job)
        m_job->engineEnded(itemid, falgs);
}
