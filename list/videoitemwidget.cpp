#include "list/videoitemwidget.h"
#include "widgets/stylesheet.h"

#include "app/timetext.h"
#include "list/medialistlogic.h"
#include "media/thumbnailloader.h"
#include "resources/spriteregions.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "widgets/mypushbutton.h"
#include "widgets/nofocusframedelegate.h"
#include "widgets/sprites.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFileInfo>
#include <QFont>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QSignalBlocker>

#include <cstdlib>

namespace {

// Row ids are unique for the life of the process: the bottom bar and the
// conversion find the output-format row by id, so a reused row must never
// answer to the id of the file it held before.
int g_lastItemId = 0;

int NextItemId()
{
    return ++g_lastItemId;
}

// Text of menu entries and choices that cannot act right now: dimmed, so a
// disabled entry does not read like one the user can pick.
constexpr const char* kDisabledTextColour = "#6b7785";

// A row's texts take their size and colour from a font and a palette, not
// from a style sheet: widgets under a style sheet each carry several
// kilobytes of resolved rules, which a list of a thousand rows feels.
void StyleLabel(QLabel* label, const char* colourKey)
{
    QFont font = label->font();
    font.setPixelSize(Scaled(11));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(SkinColour(colourKey)));
    label->setPalette(palette);
}

QString TrackChoiceStyleSheet()
{
    return QStringLiteral("QComboBox{border: 0px solid #08080a;border-radius: 3px;padding: 1px 2px "
                          "1px 2px;min-width: %1px;color:#ffffff;font-size:%2px;background-color: "
                          "#16191e;}")
               .arg(Scaled(30))
               .arg(Scaled(10)) +
           QStringLiteral(
               "QComboBox::drop-down{subcontrol-origin: padding; subcontrol-position: top "
               "right;width: 20px;border-left-width: 0px;border-left-color: "
               "#08080a;border-left-style: solid;border-top-right-radius: "
               "3px;border-bottom-right-radius: 3px;}"
               "QComboBox::down-arrow {image: url(:/images/arrowDown.png);}"
               "QComboBox QAbstractItemView{ color:#ffffff;selection-background-color:#3d4751;"
               "background-color: #2a3139;}") +
           QStringLiteral("QComboBox QAbstractItemView::item{height:%1px;}").arg(Scaled(30)) +
           QStringLiteral("QComboBox:disabled{color:%1;}").arg(QLatin1String(kDisabledTextColour));
}

void FillSolid(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void ShowSprite(QLabel* label, Sprites::RegionId id)
{
    if (label->width() <= 0 || label->height() <= 0)
        return;
    const QPixmap picture = ScaledSprite(id, label->size());
    if (!picture.isNull())
        label->setPixmap(picture);
}

// Sizes a label to its text, then gives it the layout's width and height.
void PlaceLabel(QLabel* label, int x, int y, int extraWidth, int height)
{
    label->adjustSize();
    label->setGeometry(x, y, label->width() + extraWidth, height);
}

} // namespace

VideoItemWidget::VideoItemWidget(QWidget* parent) : QWidget(parent), itemId(NextItemId())
{
    m_background = new QWidget(this);
    m_thumbnailFrame = new QLabel(this);
    m_thumbnailPicture = new QLabel(this);
    m_fileNameLabel = new QLabel(this);

    m_defaultOutputButton = new MyPushButton(this);
    m_deleteButton = new MyPushButton(this);
    m_moveUpButton = new MyPushButton(this);
    m_moveDownButton = new MyPushButton(this);

    m_factsLine = new QWidget(this);
    m_videoIcon = new QLabel(m_factsLine);
    m_videoFactsLabel = new QLabel(m_factsLine);
    m_audioIcon = new QLabel(m_factsLine);
    m_audioFactsLabel = new QLabel(m_factsLine);

    m_cutLine = new QWidget(this);
    m_cutCaptionLabel = new QLabel(m_cutLine);
    m_cutLengthLabel = new QLabel(m_cutLine);
    m_trackCaptionLabel = new QLabel(m_cutLine);

    m_cutBar = new QWidget(this);
    m_bottomLine = new QWidget(this);

    StyleLabel(m_fileNameLabel, "txtcolor_main");
    StyleLabel(m_videoFactsLabel, "txtcolor_main2");
    StyleLabel(m_cutCaptionLabel, "txtcolor_main2");
    StyleLabel(m_trackCaptionLabel, "txtcolor_main2");
    StyleLabel(m_audioFactsLabel, "txtcolor_main3");
    StyleLabel(m_cutLengthLabel, "txtcolor_main3");
    for (QLabel* label : {m_fileNameLabel, m_videoFactsLabel, m_audioFactsLabel, m_cutCaptionLabel,
                          m_cutLengthLabel, m_trackCaptionLabel})
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(m_deleteButton, &MyPushButton::clicked, this, &VideoItemWidget::deleteButton_slots);
    connect(m_defaultOutputButton, &MyPushButton::clicked, this,
            &VideoItemWidget::defaultoutputformatBtn_slots);
    connect(m_moveUpButton, &MyPushButton::clicked, this, &VideoItemWidget::moveupAction_slots);
    connect(m_moveDownButton, &MyPushButton::clicked, this, &VideoItemWidget::movedownAction_slots);

    m_defaultOutputButton->hide();
    m_moveUpButton->hide();
    m_moveDownButton->hide();
    m_cutBar->hide();
    m_trackCaptionLabel->hide();
}

QComboBox* VideoItemWidget::trackChoice() const
{
    // Made when first wanted: most files have one sound track and never
    // show the choice, and a list of a thousand rows should not carry a
    // thousand idle ones.
    if (!m_audioSelectComboBox) {
        auto* self = const_cast<VideoItemWidget*>(this);
        auto* choice = new QComboBox(m_cutLine);
        SetStyleSheet(choice, TrackChoiceStyleSheet());
        choice->setEditable(false);
        // Track names differ in length from file to file, and a reused row
        // must not keep the width of the file it showed before.
        choice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        choice->setItemDelegate(new NoFocusFrameDelegate(choice));
        choice->setEnabled(!m_jobRunning);
        choice->hide();
        connect(choice, &QComboBox::currentIndexChanged, self,
                &VideoItemWidget::audioSelectComboBox_slots);
        self->m_audioSelectComboBox = choice;
    }
    return m_audioSelectComboBox;
}

QMenu* VideoItemWidget::contextMenu() const
{
    if (!m_menu) {
        auto* self = const_cast<VideoItemWidget*>(this);
        auto* menu = new QMenu(self);
        self->m_setDefaultAction = menu->addAction(QString());
        self->m_moveUpAction = menu->addAction(QString());
        self->m_moveDownAction = menu->addAction(QString());
        self->m_removeAction = menu->addAction(QString());
        self->m_removeAllAction = menu->addAction(QString());
        menu->addSeparator();
        self->m_saveListAction = menu->addAction(QString());
        self->m_openListAction = menu->addAction(QString());
        connect(m_setDefaultAction, &QAction::triggered, self,
                &VideoItemWidget::setDefaultAction_slots);
        connect(m_moveUpAction, &QAction::triggered, self, &VideoItemWidget::moveupAction_slots);
        connect(m_moveDownAction, &QAction::triggered, self,
                &VideoItemWidget::movedownAction_slots);
        connect(m_removeAction, &QAction::triggered, self, &VideoItemWidget::removeAction_slots);
        connect(m_removeAllAction, &QAction::triggered, self,
                &VideoItemWidget::removeAllAction_slots);
        connect(m_saveListAction, &QAction::triggered, self, &VideoItemWidget::saveListRequested);
        connect(m_openListAction, &QAction::triggered, self, &VideoItemWidget::openListRequested);
        connect(menu, &QMenu::aboutToShow, self, &VideoItemWidget::updateMenuState);
        SetStyleSheet(menu, MenuStyleSheet(140));
        self->m_menu = menu;
        self->translateMenu();
        self->updateMenuState();
    }
    return m_menu;
}

void VideoItemWidget::translateMenu()
{
    if (!m_menu)
        return;
    m_setDefaultAction->setText(tr("Set as default format"));
    m_moveUpAction->setText(tr("Move Up"));
    m_moveDownAction->setText(tr("Move Down"));
    m_removeAction->setText(tr("Remove"));
    m_removeAllAction->setText(tr("Remove All"));
    m_saveListAction->setText(tr("Save List…"));
    m_openListAction->setText(tr("Open List…"));
}

VideoItemWidget::~VideoItemWidget()
{
    releaseEngineInfo();
}

void VideoItemWidget::releaseEngineInfo()
{
    std::free(engineInfo);
    engineInfo = nullptr;
}

void VideoItemWidget::SetMediaInfo(const QString& path, const QString& thumbnail,
                                   const QString& durationLine, const QStringList& videoStreamLines,
                                   const QStringList& audioStreamLines,
                                   const QStringList& audioStreamTitles)
{
    FillMediaInfo(mediaInfo, path, durationLine, videoStreamLines, audioStreamLines,
                  audioStreamTitles);
    // The facts just read are the first track's, so the choice starts there.
    audioTrackIndex = 0;
    ShowInfo(path, thumbnail);
    cutStart = 0;
    cutEnd = mediaInfo.duration;
    qDebug("add Video durationinfo:%s, duration:%lld", durationLine.toUtf8().constData(),
           static_cast<long long>(mediaInfo.duration));
    UpdateCutInfo();
}

void VideoItemWidget::ComputeEncodingParameters()
{
    ::ComputeEncodingParameters(mediaInfo);
}

void VideoItemWidget::ShowInfo(const QString& path, const QString& thumbnail)
{
    filePath = path;
    thumbnailPath = thumbnail;

    showFacts();
    showFileName();

    showThumbnail();
    fillTrackChoice();
    Retranslate();
}

void VideoItemWidget::showThumbnail()
{
    // An answer for the file this row showed before is not wanted any more.
    const quint64 request = ++m_thumbnailRequest;
    m_thumbnailPicture->clear();
    const QRect frame = m_thumbnailFrame->geometry();
    const bool hasPicture = !thumbnailPath.isEmpty() && QFileInfo::exists(thumbnailPath);
    if (!hasPicture) {
        showPlaceholder();
        return;
    }
    const QRect fit =
        FitThumbnail(mediaInfo.width, mediaInfo.height, frame.width(), frame.height());
    m_thumbnailPicture->setGeometry(fit.translated(frame.topLeft()));
    const QSize size = m_thumbnailPicture->size();
    if (size.isEmpty())
        return;
    const auto show = [this, request](const QImage& image) {
        if (request != m_thumbnailRequest)
            return;
        if (image.isNull())
            showPlaceholder(); // written, but not a picture that can be read
        else
            m_thumbnailPicture->setPixmap(QPixmap::fromImage(image));
    };
    if (m_thumbnailLoader)
        m_thumbnailLoader->request(thumbnailPath, size, this, show);
    else
        show(ThumbnailLoader::decode(thumbnailPath, size));
}

void VideoItemWidget::showPlaceholder()
{
    // Audio files and failed probes have no picture of their own.
    m_thumbnailPicture->setGeometry(m_thumbnailFrame->geometry());
    const QPixmap placeholder =
        ScaledSprite(Sprites::RegionId::ThumbnailPlaceholder, m_thumbnailPicture->size());
    if (placeholder.isNull())
        m_thumbnailPicture->clear();
    else
        m_thumbnailPicture->setPixmap(placeholder);
}

void VideoItemWidget::UpdateCutInfo()
{
    m_cutLengthLabel->setText(TimeToString(cutEnd - cutStart));
    m_cutLengthLabel->adjustSize();
    m_cutLengthLabel->setGeometry(m_cutCaptionLabel->width() + Scaled(10), m_cutCaptionLabel->y(),
                                  m_cutLengthLabel->width() + Scaled(10), Scaled(20));

    int left = 0;
    int right = 0;
    if (CutBarSpan(width(), cutStart, cutEnd, mediaInfo.duration, &left, &right)) {
        const int h = height();
        m_cutBar->setGeometry(left, h - 1, right - left + 1, 1);
        m_cutBar->show();
    } else {
        // Without a duration there is nothing to scale the strip by.
        m_cutBar->hide();
    }

    qDebug("update Video cutted info [duration:%lld, cut_start:%lld, cut_end:%lld,"
           "cut_duration:%lld ]",
           static_cast<long long>(mediaInfo.duration), static_cast<long long>(cutStart),
           static_cast<long long>(cutEnd), static_cast<long long>(cutEnd - cutStart));
    emit cutRangeChanged(this);
}

void VideoItemWidget::SetSelected(bool on)
{
    selected = on;
    // Only a change is painted: selecting one row of a thousand touches two.
    if (m_shownSelected == int(on))
        return;
    m_shownSelected = int(on);
    FillSolid(m_background, QColor(on ? QStringLiteral("#363e47") : QStringLiteral("#2a3139")));
}

void VideoItemWidget::SetDefaultOutput(bool on)
{
    m_defaultOutput = on;
    if (on) {
        emit outputFormatMarked(QFileInfo(filePath).fileName().trimmed(), itemId);
        m_defaultOutputButton->setEnabledState(false);
        m_defaultOutputButton->show();
    } else {
        emit outputFormatMarked(QString(), 0);
        m_defaultOutputButton->setEnabledState(true);
        m_defaultOutputButton->hide();
    }
}

void VideoItemWidget::Retranslate()
{
    m_cutCaptionLabel->setText(tr("Duration:"));
    m_defaultOutputButton->setToolTip(tr("Set as output format"));
    m_trackCaptionLabel->setText(tr("Audio:"));
    // The style sheet may have changed the name's font, and with it how much
    // of the name fits.
    showFileName();

    const int tracks = static_cast<int>(mediaInfo.audioStreamLines.size());
    if (m_audioSelectComboBox) {
        // The entries are renamed in place: refilling them would pass
        // through "no track" and lose the user's choice.
        for (int i = 0; i < m_audioSelectComboBox->count(); ++i)
            m_audioSelectComboBox->setItemText(i, trackEntryText(i));
        if (tracks > 1) {
            // The line may leave the choice too narrow for a long title; the
            // list that drops down shows the names whole.
            QAbstractItemView* trackList = m_audioSelectComboBox->view();
            trackList->setMinimumWidth(trackList->sizeHintForColumn(0) + Scaled(10));
        }
        m_audioSelectComboBox->setVisible(tracks > 1);
    }
    m_trackCaptionLabel->setVisible(tracks > 1);
    placeTexts();
    translateMenu();
}

QString VideoItemWidget::trackEntryText(int track) const
{
    // Numbers alone do not tell a dubbed track from the original or from a
    // commentary.
    QString entry = tr("Track") + QLatin1Char(' ') + QString::number(track + 1);
    const QString detail = AudioTrackDetail(mediaInfo, track);
    if (!detail.isEmpty())
        entry += QStringLiteral(" (") + detail + QLatin1Char(')');
    return entry;
}

void VideoItemWidget::fillTrackChoice()
{
    // Refilling the choice is not a choice by the user: it must neither
    // restart the preview nor pass through an index of -1 ("no track"),
    // which the cut command would turn into a stream that does not exist.
    // A track chosen earlier stays chosen: the audio facts and the output
    // already describe it.
    const int tracks = static_cast<int>(mediaInfo.audioStreamLines.size());
    if (audioTrackIndex < 0 || audioTrackIndex >= qMax(tracks, 1)) {
        audioTrackIndex = 0;
        SelectAudioTrack(mediaInfo, 0);
        showFacts();
    }
    if (tracks < 2 && !m_audioSelectComboBox)
        return;
    QComboBox* choice = trackChoice();
    const QSignalBlocker blocker(choice);
    choice->clear();
    if (tracks > 1) {
        for (int i = 0; i < tracks; ++i)
            choice->addItem(trackEntryText(i));
        choice->setCurrentIndex(audioTrackIndex);
    }
}

void VideoItemWidget::showFacts()
{
    m_videoFactsLabel->setText(VideoFactsText(mediaInfo));
    m_audioFactsLabel->setText(AudioFactsText(mediaInfo));
}

void VideoItemWidget::showFileName()
{
    const QString name = QFileInfo(filePath).fileName().trimmed();
    // The font comes from the style sheet, which applies once the label is
    // polished; measuring before that would elide for the wrong font.
    m_fileNameLabel->ensurePolished();
    // Elided in the middle: files of one shoot or series often differ only
    // near the end of the name, and the extension tells the formats apart.
    const QString shown = m_fileNameLabel->fontMetrics().elidedText(
        name, Qt::ElideMiddle, qMax(0, m_fileNameLabel->contentsRect().width()));
    m_fileNameLabel->setText(shown);
    m_fileNameLabel->setToolTip(shown == name ? QString() : name);
}

void VideoItemWidget::placeTexts()
{
    // A half the file does not have gets no icon: an audio file is not a
    // video of size 0x0, and a silent video has no sound facts to show.
    const bool hasVideo = !mediaInfo.videoStreamLines.isEmpty();
    const bool hasAudio = !mediaInfo.audioStreamLines.isEmpty();
    m_videoIcon->setVisible(hasVideo);
    m_audioIcon->setVisible(hasAudio);
    m_audioFactsLabel->setVisible(hasAudio);

    const int videoFactsX = hasVideo ? m_videoIcon->x() + m_videoIcon->width() + Scaled(5) : 0;
    PlaceLabel(m_videoFactsLabel, videoFactsX, m_videoFactsLabel->y(), Scaled(5), Scaled(20));
    m_audioIcon->move(m_videoFactsLabel->x() + m_videoFactsLabel->width() + Scaled(20),
                      m_videoFactsLabel->y() + (Scaled(20) - m_audioIcon->height()) / 2);
    PlaceLabel(m_audioFactsLabel, m_audioIcon->x() + m_audioIcon->width() + Scaled(5),
               m_videoFactsLabel->y(), Scaled(5), Scaled(20));
    PlaceLabel(m_cutCaptionLabel, 0, m_cutCaptionLabel->y(), Scaled(5), Scaled(20));
    m_cutLengthLabel->move(m_cutCaptionLabel->x() + m_cutCaptionLabel->width() + Scaled(10),
                           m_cutCaptionLabel->y());
    PlaceLabel(m_trackCaptionLabel, m_audioIcon->x(), m_cutCaptionLabel->y(), Scaled(5),
               Scaled(20));
    if (!m_audioSelectComboBox || m_audioSelectComboBox->count() < 2)
        return;
    // Wide enough for the longest track name, as far as the line allows.
    const int choiceX = m_trackCaptionLabel->x() + m_trackCaptionLabel->width();
    m_audioSelectComboBox->ensurePolished();
    const int wanted = qMax(Scaled(100), m_audioSelectComboBox->sizeHint().width());
    const int choiceWidth = qMax(Scaled(100), qMin(wanted, m_cutLine->width() - choiceX));
    m_audioSelectComboBox->setGeometry(
        choiceX, m_cutCaptionLabel->y() + static_cast<int>(ScaleFactor()), choiceWidth, Scaled(18));
}

void VideoItemWidget::LayoutChildren()
{
    const int w = width();
    const int h = height();
    m_background->setGeometry(0, 0, w, h);
    m_thumbnailFrame->setGeometry(0, 0, Scaled(128), h - 2);
    m_thumbnailPicture->setGeometry(0, 0, Scaled(128), h - 2);
    // The name ends a little before the output-format button, so a long one
    // is elided rather than running under the button.
    m_fileNameLabel->setGeometry(Scaled(140), Scaled(5), w - Scaled(55) - Scaled(140), Scaled(20));
    showFileName();
    m_defaultOutputButton->setButtonGeometry(w - Scaled(50), Scaled(8), Scaled(15), Scaled(15));
    m_deleteButton->setButtonGeometry(w - Scaled(25), Scaled(8), Scaled(15), Scaled(15));
    m_moveUpButton->hide();
    m_moveDownButton->hide();
    m_factsLine->setGeometry(Scaled(140), Scaled(30), w - Scaled(20) - Scaled(140), Scaled(20));
    m_cutLine->setGeometry(Scaled(140), Scaled(50), w - Scaled(20) - Scaled(140), Scaled(20));

    const int iconWidth = Scaled(12);
    const int iconHeight = Scaled(10);
    const int iconY = (Scaled(20) - iconHeight) / 2;
    m_videoIcon->setGeometry(0, iconY, iconWidth, iconHeight);
    m_audioIcon->setGeometry(m_audioIcon->x(), iconY, iconWidth, iconHeight);
    m_cutCaptionLabel->setGeometry(0, 0, Scaled(100), Scaled(20));

    // The strip keeps its extent; only the bottom edge moves with the row.
    m_cutBar->move(m_cutBar->x(), h - 1);
    m_bottomLine->setGeometry(0, h - 1, w, 1);
    // The captions hug their texts again, and the values follow them.
    placeTexts();
}

void VideoItemWidget::ApplySkin()
{
    SetSelected(selected);
    m_defaultOutputButton->setEnabledState(!m_defaultOutput);
    // The rest never changes while the program runs; a reused row has it.
    if (m_skinApplied)
        return;
    m_skinApplied = true;
    FillSolid(m_thumbnailFrame, QColor(QStringLiteral("#3c4952")));
    FillSolid(m_bottomLine, QColor(QStringLiteral("#505e6b")));
    FillSolid(m_cutBar, QColor(QStringLiteral("#0080e6")));
    ApplySpriteButton(m_deleteButton, Sprites::kMediaItemDeleteButton);
    ApplySpriteButton(m_defaultOutputButton, Sprites::kMediaItemFormatButton);
    ShowSprite(m_videoIcon, Sprites::RegionId::VideoIcon);
    ShowSprite(m_audioIcon, Sprites::RegionId::AudioIcon);
}

void VideoItemWidget::Reset()
{
    itemId = NextItemId();
    SetSelected(false);
    mediaInfo = MediaInfo();
    cutStart = 0;
    cutEnd = 0;
    // A track chosen for the previous file may not exist in the next one.
    audioTrackIndex = 0;
    releaseEngineInfo();
    m_cutBar->hide();
    ++m_thumbnailRequest;
    m_thumbnailPicture->clear();
}

void VideoItemWidget::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    emit press_clicked(this);
}

void VideoItemWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    // The delete button has already acted on this release; selecting the row
    // it just removed would load a file that is no longer in the list.
    if (m_deleteButton->geometry().contains(event->position().toPoint()))
        return;
    emit clicked(this);
}

void VideoItemWidget::contextMenuEvent(QContextMenuEvent* event)
{
    emit clicked(this);
    contextMenu()->exec(QCursor::pos());
    event->accept();
}

void VideoItemWidget::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    // During a job the mark cannot move, so the button is not offered; the
    // output-format row's own mark is shown all the time anyway.
    if (!m_jobRunning)
        m_defaultOutputButton->show();
}

void VideoItemWidget::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    // The output-format row keeps its (disabled) mark in view.
    if (m_defaultOutputButton->isEnabledState())
        m_defaultOutputButton->hide();
}

void VideoItemWidget::deleteButton_slots()
{
    emit deleteItem(this);
}

void VideoItemWidget::defaultoutputformatBtn_slots()
{
    emit setDefaultOutput_signal(this);
}

void VideoItemWidget::moveupAction_slots()
{
    emit moveupItem(this);
}

void VideoItemWidget::movedownAction_slots()
{
    emit movedownItem(this);
}

void VideoItemWidget::removeAction_slots()
{
    emit deleteItem(this);
}

void VideoItemWidget::removeAllAction_slots()
{
    emit deleteAllItem();
}

void VideoItemWidget::setDefaultAction_slots()
{
    emit setDefaultOutput_signal(this);
}

void VideoItemWidget::setJobRunning(bool running)
{
    m_jobRunning = running;
    // The sheet's disabled cell for this button is the red pressed cross of
    // the close row, which reads as "remove" rather than "not now": the
    // normal cross, faded, says it cannot act.
    if (running) {
        auto* fade = new QGraphicsOpacityEffect(m_deleteButton);
        fade->setOpacity(0.35);
        m_deleteButton->setGraphicsEffect(fade); // the button owns the effect
        m_deleteButton->setEnabled(false);
    } else {
        m_deleteButton->setGraphicsEffect(nullptr);
        m_deleteButton->setEnabled(true);
    }
    // The chosen track is read by the job as it reaches the row.
    if (m_audioSelectComboBox)
        m_audioSelectComboBox->setEnabled(!running);
    if (running && !m_defaultOutput)
        m_defaultOutputButton->hide();
    updateMenuState();
}

void VideoItemWidget::updateMenuState()
{
    if (!m_menu)
        return;
    const bool editable = !m_jobRunning;
    m_setDefaultAction->setEnabled(editable);
    m_moveUpAction->setEnabled(editable && listPosition > 0);
    m_moveDownAction->setEnabled(editable && listPosition >= 0 && listPosition < listRowCount - 1);
    m_removeAction->setEnabled(editable);
    m_removeAllAction->setEnabled(editable);
    // Saving only reads the list, which a job does not change.
    m_saveListAction->setEnabled(true);
    m_openListAction->setEnabled(editable);
}

void VideoItemWidget::audioSelectComboBox_slots()
{
    const int index = m_audioSelectComboBox->currentIndex();
    if (index < 0 || index == audioTrackIndex)
        return;
    applyAudioTrack(index, true);
}

void VideoItemWidget::chooseAudioTrack(int track)
{
    const int tracks = static_cast<int>(mediaInfo.audioStreamLines.size());
    if (track < 0 || track >= tracks || track == audioTrackIndex)
        return;
    {
        const QSignalBlocker blocker(trackChoice());
        trackChoice()->setCurrentIndex(track);
    }
    // Only the selected row is on preview; another row has nothing to replay.
    applyAudioTrack(track, selected);
}

void VideoItemWidget::applyAudioTrack(int track, bool reloadPreview)
{
    audioTrackIndex = track;
    // The row, the output profile and the same-format test all read the
    // audio facts from mediaInfo: they must describe the chosen track.
    SelectAudioTrack(mediaInfo, track);
    showFacts();
    placeTexts();
    emit audioTrackChanged(this);
    if (!reloadPreview)
        return;
    // Empty the preview first, then load the row again, so playback starts
    // over with the chosen track.
    emit clicked(nullptr);
    emit clicked(this);
}
