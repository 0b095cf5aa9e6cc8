#include "player/videoplayerwidget.h"
#include "widgets/stylesheet.h"

#include "media/thumbnailloader.h"

#include "app/timetext.h"
#include "list/videoitemwidget.h"
#include "media/frameindex.h"
#include "player/cmyplayer.h"
#include "player/myqtimeedit.h"
#include "player/mytrimslider.h"
#include "player/picturerect.h"
#include "player/trimlogic.h"
#include "resources/spriteregions.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"
#include "widgets/sprites.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QSlider>

#include <algorithm>

namespace {

constexpr qint64 kEmptyRange = 1000000;

} // namespace

VideoPlayerWidget::VideoPlayerWidget(QWidget* parent)
    : QWidget(parent), m_player(new CMyPlayer(this)), m_frame(new QWidget(this)),
      m_pictureArea(new QWidget(this)), m_backdrop(new QWidget(m_pictureArea)),
      m_cover(new QLabel(m_pictureArea)), m_videoWindow(new QWidget(m_pictureArea)),
      m_currentTimeLabel(new QLabel(this)), m_durationLabel(new QLabel(this)),
      m_trimSlider(new MyTrimSlider(this)), m_timeRow(new QWidget(this)),
      m_startLabel(new QLabel(m_timeRow)), m_startTimeEdit(new MyQTimeEdit(m_timeRow)),
      m_selectionLabel(new QLabel(m_timeRow)), m_endLabel(new QLabel(m_timeRow)),
      m_endTimeEdit(new MyQTimeEdit(m_timeRow)), m_controlsRow(new QWidget(this)),
      m_playButton(new MyPushButton(m_controlsRow)), m_pauseButton(new MyPushButton(m_controlsRow)),
      m_muteButton(new MyPushButton(m_controlsRow)),
      m_volumeSlider(new QSlider(Qt::Horizontal, m_controlsRow)),
      m_setStartButton(new MyPushButton(m_controlsRow)),
      m_setEndButton(new MyPushButton(m_controlsRow)),
      m_resetButton(new MyTempButton2(m_controlsRow)),
      m_applyAllButton(new MyTempButton2(m_controlsRow))
{
    m_coverLoader = new ThumbnailLoader(this);
    m_frame->lower();
    m_cover->setScaledContents(true);
    // The player draws into this window by its native id. The window is made
    // when the first preview asks for the id (winId()), not at start-up,
    // where it would cost a round of window-system work before the first
    // paint.
    m_videoWindow->setAttribute(Qt::WA_DontCreateNativeAncestors);
    SetStyleSheet(m_backdrop, QStringLiteral("QWidget{background-color:#000000;}"));
    SetStyleSheet(m_videoWindow, QStringLiteral("QWidget{background-color:#000000;}"));
    m_durationLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_selectionLabel->setAlignment(Qt::AlignCenter);
    for (QLabel* label : {m_currentTimeLabel, m_durationLabel, m_selectionLabel})
        label->setText(QStringLiteral("00:00:00.000"));
    m_volumeSlider->setRange(0, 100);
    m_volumeSlider->setValue(80);
    m_resetButton->setAlignment(Qt::AlignCenter);
    m_applyAllButton->setAlignment(Qt::AlignCenter);

    connect(m_trimSlider, &MyTrimSlider::trimPresssed, this,
            &VideoPlayerWidget::trimSlider_Pressed_slots);
    connect(m_trimSlider, &MyTrimSlider::trimReleased, this,
            &VideoPlayerWidget::trimSlider_Released_slots);
    connect(m_trimSlider, &MyTrimSlider::CurrentValueChanged, this,
            &VideoPlayerWidget::trimSlider_CurrentValueChanged_slots);
    connect(m_trimSlider, &MyTrimSlider::CurrentValueChanged2, this,
            &VideoPlayerWidget::trimSlider_CurrentValueChanged2_slots);
    connect(m_trimSlider, &MyTrimSlider::trimValueChanged, this,
            &VideoPlayerWidget::trimSlider_TrimValueChanged_slots);
    connect(m_trimSlider, &MyTrimSlider::startHandleReleased, this,
            &VideoPlayerWidget::trimSlider_StartReleased_slots);
    connect(FrameIndexCache::instance(), &FrameIndexCache::indexReady, this,
            &VideoPlayerWidget::frameIndex_Ready_slots);
    connect(m_startTimeEdit, &MyQTimeEdit::editingFinished, this,
            &VideoPlayerWidget::startTimeEdit_ValueChanged_slots);
    connect(m_endTimeEdit, &MyQTimeEdit::editingFinished, this,
            &VideoPlayerWidget::endTimeEdit_ValueChanged_slots);
    connect(m_player, &CMyPlayer::update_duration, this,
            &VideoPlayerWidget::player_updatecurrentTime);
    connect(m_player, &CMyPlayer::playerend, this, &VideoPlayerWidget::player_play_end_slots);
    connect(m_player, &CMyPlayer::playedToEnd, this,
            &VideoPlayerWidget::player_played_to_end_slots);
    connect(m_playButton, &MyPushButton::clicked, this, &VideoPlayerWidget::playButton_slots);
    connect(m_pauseButton, &MyPushButton::clicked, this, &VideoPlayerWidget::pauseButton_slots);
    connect(m_muteButton, &MyPushButton::clicked, this, &VideoPlayerWidget::mateButton_slots);
    connect(m_volumeSlider, &QSlider::sliderReleased, this,
            &VideoPlayerWidget::soundSlider_Released);
    connect(m_setStartButton, &MyPushButton::clicked, this,
            &VideoPlayerWidget::readplaypos4startButton_slots);
    connect(m_setEndButton, &MyPushButton::clicked, this,
            &VideoPlayerWidget::readplaypos4endButton_slots);
    connect(m_resetButton, &MyTempButton2::clicked, this, &VideoPlayerWidget::resetButton_slots);
    connect(m_applyAllButton, &MyTempButton2::clicked, this,
            &VideoPlayerWidget::applyAllButton_slots);

    m_pauseButton->hide();
    m_videoWindow->hide();
    applySkin();
    retranslate();
    setItem(nullptr);
}

VideoPlayerWidget::~VideoPlayerWidget()
{
    m_player->stop();
    m_playStart = 0;
    // The children outlive this part of the panel: a focused time field
    // reports finished editing as it loses focus on the way out, and must
    // not reach a panel that is no longer one.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

void VideoPlayerWidget::setItem(VideoItemWidget* item)
{
    if (item && item == m_item)
        return;
    m_player->stop();
    m_started = false;
    m_playStart = 0;
    m_item = item;

    if (!m_item) {
        m_cover->setGeometry(0, 0, m_pictureArea->width(), m_pictureArea->height());
        m_videoWindow->setGeometry(m_cover->geometry());
        ++m_coverRequest;
        m_cover->clear();
        // Nothing of the last file may linger: an emptied list shows zeros.
        for (QLabel* label : {m_currentTimeLabel, m_durationLabel, m_selectionLabel})
            label->setText(TimeToString(0));
        m_startTimeEdit->setMicrosecondRange(0, 0);
        m_endTimeEdit->setMicrosecondRange(0, 0);
        m_trimSlider->setRange(0, kEmptyRange);
        m_trimSlider->setCurrentValue(0);
        m_trimSlider->setStartValue(0);
        m_trimSlider->setEndValue(kEmptyRange, true);
        m_trimSlider->setKeyframeTicks({});
        setControlsEnabled(false);
        m_videoWindow->hide();
        m_cover->hide();
        m_playButton->show();
        m_pauseButton->hide();
        return;
    }

    const qint64 duration = m_item->mediaInfo.duration;
    m_durationLabel->setText(TimeToString(duration));
    m_trimSlider->setRange(0, duration);
    m_trimSlider->setCurrentValue(0);
    m_trimSlider->setStartValue(m_item->cutStart);
    m_trimSlider->setEndValue(m_item->cutEnd, true);
    placePicture();
    loadCover();
    m_videoWindow->hide();
    m_cover->show();
    m_cover->raise();
    m_playButton->show();
    m_pauseButton->hide();
    trimSlider_TrimValueChanged_slots();
    setControlsEnabled(true);
    // The player starts first: the keyframe listing below may start a tool
    // of its own, which should not compete with the player's start.
    playFrom(0);
    // The file the user looks at goes ahead of the rest of the list.
    FrameIndexCache::instance()->request(m_item->filePath, true);
    applyKeyframes();
}

void VideoPlayerWidget::loadCover()
{
    // Shown only before the first picture and after the end, so the
    // interface thread does not wait for it: it is read and scaled aside.
    const quint64 request = ++m_coverRequest;
    m_cover->clear();
    if (!m_item || m_item->thumbnailPath.isEmpty() || m_cover->size().isEmpty())
        return;
    m_coverLoader->request(m_item->thumbnailPath, m_cover->size(), this,
                           [this, request](const QImage& image) {
                               if (request == m_coverRequest && !image.isNull())
                                   m_cover->setPixmap(QPixmap::fromImage(image));
                           });
}

void VideoPlayerWidget::placePicture()
{
    QRect rect(0, 0, m_pictureArea->width(), m_pictureArea->height());
    if (m_item)
        rect = PictureRect(m_item->mediaInfo.width, m_item->mediaInfo.height,
                           m_pictureArea->width(), m_pictureArea->height());
    m_cover->setGeometry(rect);
    m_videoWindow->setGeometry(rect);
}

void VideoPlayerWidget::stopPreview()
{
    m_player->stop();
    m_playStart = 0;
}

void VideoPlayerWidget::playFrom(qint64 position)
{
    if (!m_item)
        return;
    if (m_started) {
        m_player->resume();
        m_videoWindow->show();
        m_videoWindow->raise();
        m_playButton->hide();
        m_pauseButton->show();
        return;
    }
    m_playStart = position;
    m_player->stop();
    const QString startTime = position > 0 ? TimeToString(position) : QString();
    int audioTrack = 0;
    const QStringList& ids = m_item->mediaInfo.audioStreamIds;
    if (m_item->audioTrackIndex >= 0 && m_item->audioTrackIndex < ids.size()) {
        bool ok = false;
        audioTrack = ids.at(m_item->audioTrackIndex).toInt(&ok, 10);
        if (!ok)
            audioTrack = 0;
    }
    // The window must exist natively before its id is handed over.
    m_videoWindow->show();
    m_started = true;
    m_playButton->hide();
    m_pauseButton->show();
    m_cover->hide();
    m_videoWindow->raise();
    m_player->play(m_item->filePath, QString::number(m_videoWindow->winId()), startTime,
                   QStringLiteral("none"), audioTrack);
}

void VideoPlayerWidget::playButton_slots()
{
    playFrom(0);
}

void VideoPlayerWidget::pauseButton_slots()
{
    if (!m_item || !m_started)
        return;
    m_player->pause();
    m_playButton->show();
    m_pauseButton->hide();
}

void VideoPlayerWidget::player_updatecurrentTime(int64_t curTime, int64_t durTime)
{
    Q_UNUSED(durTime)
    if (m_dragging || m_player->isPaused())
        return;
    if (m_playStart > 0 && curTime <= 0)
        return;
    m_trimSlider->setCurrentValue(curTime);
    m_currentTimeLabel->setText(TimeToString(m_trimSlider->currentValue()));
}

void VideoPlayerWidget::player_play_end_slots()
{
    m_playButton->show();
    m_pauseButton->hide();
    m_started = false;
    m_playStart = 0;
    m_trimSlider->setCurrentValue(0);
    m_videoWindow->hide();
    if (m_item) {
        m_cover->show();
        m_cover->raise();
    }
}

void VideoPlayerWidget::player_played_to_end_slots()
{
    // The player is asked for its position only twice a second; the last
    // answer falls short of the end. A file that played out shows its whole
    // length, as the duration label does. A held playhead stays with the user.
    if (!m_item || m_dragging)
        return;
    m_trimSlider->setCurrentValue(m_item->mediaInfo.duration);
    m_currentTimeLabel->setText(TimeToString(m_trimSlider->currentValue()));
}

void VideoPlayerWidget::trimSlider_Pressed_slots()
{
    m_dragging = true;
}

void VideoPlayerWidget::trimSlider_Released_slots()
{
    m_dragging = false;
    // An index that arrived during a drag was not allowed to move the start
    // under the pointer; it takes effect now.
    snapStartToKeyframe();
}

void VideoPlayerWidget::trimSlider_StartReleased_slots()
{
    if (!m_item)
        return;
    const qint64 before = m_item->cutStart;
    snapStartToKeyframe();
    // The handle's drag took the playhead along; it follows the snap too,
    // so the preview opens on the frame the cut will start with.
    if (m_item->cutStart != before) {
        m_trimSlider->setCurrentValue(m_item->cutStart);
        m_currentTimeLabel->setText(TimeToString(m_trimSlider->currentValue()));
    }
}

void VideoPlayerWidget::setCutMode(CutMode mode)
{
    m_cutMode = mode;
    applyKeyframes();
}

void VideoPlayerWidget::frameIndex_Ready_slots(const QString& path)
{
    if (m_item && m_item->filePath == path)
        applyKeyframes();
}

void VideoPlayerWidget::applyKeyframes()
{
    if (!m_item || m_cutMode != CutMode::Keyframe) {
        m_trimSlider->setKeyframeTicks({});
        return;
    }
    const FrameIndex index = FrameIndexCache::instance()->index(m_item->filePath);
    m_trimSlider->setKeyframeTicks(index.valid ? index.keyframeTimes() : QList<qint64>());
    if (!m_dragging)
        snapStartToKeyframe();
}

void VideoPlayerWidget::snapStartToKeyframe(qint64 slack)
{
    if (!m_item || m_cutMode != CutMode::Keyframe)
        return;
    // Without the index nothing moves; its arrival snaps.
    const FrameIndex index = FrameIndexCache::instance()->index(m_item->filePath);
    if (!index.valid)
        return;
    // Reordered frames let a copy end only where a group of them ends; the
    // end shows where the result will end.
    const SnappedRange range = SnapRangeForKeyframeCut(index, m_item->cutStart, m_item->cutEnd,
                                                       TrimLogic::kMinimumCutLength, slack);
    if (range.start == m_item->cutStart && range.end == m_item->cutEnd)
        return;
    m_trimSlider->setStartValue(range.start);
    m_trimSlider->setEndValue(range.end, false);
    trimSlider_TrimValueChanged_slots();
}

void VideoPlayerWidget::trimSlider_CurrentValueChanged2_slots()
{
    m_currentTimeLabel->setText(TimeToString(m_trimSlider->currentValue()));
}

void VideoPlayerWidget::trimSlider_CurrentValueChanged_slots()
{
    m_currentTimeLabel->setText(TimeToString(m_trimSlider->currentValue()));
    if (!m_item)
        return;
    if (m_started)
        m_player->seek(m_trimSlider->currentValue());
    else
        playFrom(m_trimSlider->currentValue());
}

void VideoPlayerWidget::trimSlider_TrimValueChanged_slots()
{
    qDebug("trimSlider_TrimValueChanged_slots...");
    const qint64 current = m_trimSlider->currentValue();
    std::optional<qint64> duration;
    if (m_item)
        duration = m_item->mediaInfo.duration;
    const TrimLogic::CutRange range = TrimLogic::NormalizeCutRange(
        m_trimSlider->startValue(), m_trimSlider->endValue(), duration);
    if (!m_item)
        return;
    if (range.start != m_item->cutStart || range.end != m_item->cutEnd) {
        m_item->cutStart = range.start;
        m_item->cutEnd = range.end;
        m_item->UpdateCutInfo();
    }
    m_selectionLabel->setText(TimeToString(range.end - range.start));
    m_currentTimeLabel->setText(TimeToString(current));
    m_startTimeEdit->setMicrosecondRange(0, range.end);
    m_endTimeEdit->setMicrosecondRange(range.start, *duration);
    m_startTimeEdit->setMicroseconds(range.start);
    m_endTimeEdit->setMicroseconds(range.end);
}

void VideoPlayerWidget::startTimeEdit_ValueChanged_slots()
{
    // An untouched field hands back the start exactly, finer part included:
    // a start on a keyframe between two milliseconds must not snap back a
    // whole group of pictures.
    const qint64 typed = m_startTimeEdit->microseconds();
    const bool changed = typed != m_trimSlider->startValue();
    if (changed)
        m_trimSlider->setStartValue(typed);
    trimSlider_TrimValueChanged_slots();
    // A typed millisecond stands for the whole of it, keyframe included.
    snapStartToKeyframe(changed ? 999 : 0);
}

void VideoPlayerWidget::endTimeEdit_ValueChanged_slots()
{
    m_trimSlider->setEndValue(m_endTimeEdit->microseconds(), false);
    trimSlider_TrimValueChanged_slots();
    snapStartToKeyframe();
}

void VideoPlayerWidget::readplaypos4startButton_slots()
{
    m_trimSlider->setStartValue(
        TrimLogic::StartFromPlayhead(m_trimSlider->currentValue(), m_trimSlider->endValue()));
    trimSlider_TrimValueChanged_slots();
    snapStartToKeyframe();
}

void VideoPlayerWidget::readplaypos4endButton_slots()
{
    std::optional<qint64> duration;
    if (m_item)
        duration = m_item->mediaInfo.duration;
    m_trimSlider->setEndValue(TrimLogic::EndFromPlayhead(m_trimSlider->currentValue(),
                                                         m_trimSlider->startValue(), duration),
                              false);
    trimSlider_TrimValueChanged_slots();
    snapStartToKeyframe();
}

bool VideoPlayerWidget::keysActive() const
{
    return m_item && m_playButton->isEnabledState();
}

bool VideoPlayerWidget::isPlaying() const
{
    return m_started && !m_player->isPaused() && m_pauseButton->isVisible();
}

void VideoPlayerWidget::togglePlay()
{
    if (!keysActive())
        return;
    if (isPlaying())
        pauseButton_slots();
    else
        playButton_slots();
}

void VideoPlayerWidget::movePlayhead(qint64 position)
{
    const qint64 duration = m_item->mediaInfo.duration;
    position = std::clamp<qint64>(position, 0, std::max<qint64>(duration, 0));
    m_trimSlider->setCurrentValue(position);
    m_currentTimeLabel->setText(TimeToString(m_trimSlider->currentValue()));
    // A running preview shows the new place; a stopped one is not started.
    if (m_started)
        m_player->seek(m_trimSlider->currentValue());
}

void VideoPlayerWidget::stepFrames(int frames)
{
    if (!keysActive() || isPlaying())
        return;
    const double rate = m_item->mediaInfo.frameRate > 0 ? m_item->mediaInfo.frameRate : 25.0;
    movePlayhead(m_trimSlider->currentValue() + qRound64(frames * 1000000.0 / rate));
}

void VideoPlayerWidget::stepSeconds(int seconds)
{
    if (!keysActive() || isPlaying())
        return;
    movePlayhead(m_trimSlider->currentValue() + qint64(seconds) * 1000000);
}

void VideoPlayerWidget::jumpToRangeStart()
{
    if (keysActive())
        movePlayhead(m_item->cutStart);
}

void VideoPlayerWidget::jumpToRangeEnd()
{
    if (keysActive())
        movePlayhead(m_item->cutEnd);
}

void VideoPlayerWidget::setStartAtPlayhead()
{
    if (keysActive())
        readplaypos4startButton_slots();
}

void VideoPlayerWidget::setEndAtPlayhead()
{
    if (keysActive())
        readplaypos4endButton_slots();
}

void VideoPlayerWidget::resetButton_slots()
{
    if (!m_item)
        return;
    m_trimSlider->setStartValue(0);
    m_trimSlider->setEndValue(m_item->mediaInfo.duration, true);
    trimSlider_TrimValueChanged_slots();
    snapStartToKeyframe();
}

void VideoPlayerWidget::mateButton_slots()
{
    m_player->toggleMute();
    showMuteState();
}

void VideoPlayerWidget::showMuteState()
{
    const QString image = m_player->isMuted() ? QStringLiteral(":/images/mute.png")
                                              : QStringLiteral(":/images/sound.png");
    m_muteButton->setStateImages(image, image, image, image, 3);
}

void VideoPlayerWidget::soundSlider_Released()
{
    m_player->setVolume(m_volumeSlider->value());
}

void VideoPlayerWidget::applyAllButton_slots() {}

void VideoPlayerWidget::setControlsEnabled(bool enabled)
{
    m_trimSlider->setEnabled(enabled);
    m_startTimeEdit->setEnabled(enabled);
    m_endTimeEdit->setEnabled(enabled);
    for (MyPushButton* button :
         {m_playButton, m_pauseButton, m_setStartButton, m_setEndButton, m_muteButton})
        button->setEnabledState(enabled);
    m_resetButton->setEnabledState(enabled);
    m_applyAllButton->setEnabledState(enabled);
    m_volumeSlider->setEnabled(enabled);
}

void VideoPlayerWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (m_started)
        m_player->forceRefresh();
}

void VideoPlayerWidget::layoutPanel()
{
    const int w = width();
    const int h = height();
    m_frame->setGeometry(0, 0, w, h);
    const int areaX = Scaled(48);
    const int areaY = Scaled(48);
    const int areaWidth = w - Scaled(96);
    const int areaHeight = h - Scaled(48) - Scaled(216);
    m_pictureArea->setGeometry(areaX, areaY, areaWidth, areaHeight);
    m_backdrop->setGeometry(0, 0, areaWidth, areaHeight);
    placePicture();

    const int labelTop = areaY + areaHeight + Scaled(15);
    m_currentTimeLabel->setGeometry(areaX, labelTop, Scaled(120), Scaled(20));
    m_durationLabel->setGeometry(areaX + areaWidth - Scaled(120), labelTop, Scaled(120),
                                 Scaled(20));
    m_trimSlider->setSliderGeometry(areaX, labelTop + Scaled(10), areaWidth, Scaled(35));

    m_timeRow->setGeometry(Scaled(45), h - Scaled(128), w - Scaled(90), Scaled(28));
    const int rw = m_timeRow->width();
    const int rh = m_timeRow->height();
    m_startLabel->setGeometry(0, 0, Scaled(60), rh);
    m_startTimeEdit->setGeometry(Scaled(60), 0, Scaled(100), rh);
    m_selectionLabel->setGeometry((rw - Scaled(100)) / 2, 0, Scaled(100), rh);
    m_endLabel->setGeometry(rw - Scaled(165), 0, Scaled(60), rh);
    m_endTimeEdit->setGeometry(rw - Scaled(105), 0, Scaled(100), rh);

    m_controlsRow->setGeometry(Scaled(45), h - Scaled(75), w - Scaled(90), Scaled(40));
    const int middle = m_controlsRow->width() / 2;
    const int button = Scaled(35);
    const int buttonY = (m_controlsRow->height() - button) / 2;
    const int setStartX = middle - Scaled(8) - button;
    const int setEndX = middle + Scaled(8);
    m_setStartButton->setButtonGeometry(setStartX, buttonY, button, button);
    m_setEndButton->setButtonGeometry(setEndX, buttonY, button, button);
    m_playButton->setButtonGeometry(setStartX - Scaled(15) - button, buttonY, button, button);
    m_pauseButton->setButtonGeometry(setStartX - Scaled(15) - button, buttonY, button, button);
    m_resetButton->setGeometry(setEndX + button + Scaled(16),
                               (m_controlsRow->height() - Scaled(35)) / 2, Scaled(86), Scaled(35));
    // Volume and mute come from the stored settings; "Apply All" has no
    // action yet.
    m_muteButton->hide();
    m_volumeSlider->hide();
    m_applyAllButton->hide();

    // Values are mapped to pixels when set, so a new width needs them again.
    const qint64 current = m_trimSlider->currentValue();
    const qint64 start = m_trimSlider->startValue();
    const qint64 end = m_trimSlider->endValue();
    m_trimSlider->setRange(m_trimSlider->minimum(), m_trimSlider->maximum());
    m_trimSlider->setCurrentValue(current);
    m_trimSlider->setStartValue(start);
    m_trimSlider->setEndValue(end, m_item ? end == m_item->mediaInfo.duration : true);
}

void VideoPlayerWidget::applySkin()
{
    SetStyleSheet(m_frame, QStringLiteral("QWidget{border:1px solid ") + SkinColour("linecolor") +
                               QStringLiteral("; border-bottom:none; background-color:") +
                               SkinColour("rightbgcolor") + QStringLiteral(";}"));
    ApplySpriteButton(m_playButton, Sprites::kPlayerPlayButton);
    ApplySpriteButton(m_pauseButton, Sprites::kPlayerPauseButton);
    ApplySpriteButton(m_setStartButton, Sprites::kPlayerSetStartButton);
    ApplySpriteButton(m_setEndButton, Sprites::kPlayerSetEndButton);
    showMuteState();
    for (MyTempButton2* button : {m_resetButton, m_applyAllButton})
        ApplyPaletteButtonSheets(button, 2, 12, 500);
    m_trimSlider->ApplySkin();
    m_startTimeEdit->ApplySkin();
    m_endTimeEdit->ApplySkin();
}

void VideoPlayerWidget::retranslate()
{
    m_startLabel->setText(tr("Start:"));
    m_endLabel->setText(tr("End:"));
    m_resetButton->setText(tr("Reset"));
    m_applyAllButton->setText(tr("Apply All"));
    m_setStartButton->setToolTip(tr("Set start time"));
    m_setEndButton->setToolTip(tr("Set end time"));
    const QString label = QStringLiteral("QLabel{font-size:") + ScaledPx(11) +
                          QStringLiteral(";color:") + SkinColour("txtcolor_main2") +
                          QStringLiteral(";}");
    for (QLabel* l :
         {m_currentTimeLabel, m_durationLabel, m_selectionLabel, m_startLabel, m_endLabel})
        SetStyleSheet(l, label);
    m_startTimeEdit->setDisplayFormat(QStringLiteral("hh:mm:ss.zzz"));
    m_endTimeEdit->setDisplayFormat(QStringLiteral("hh:mm:ss.zzz"));
    if (!m_item) {
        m_trimSlider->setRange(0, kEmptyRange);
        m_trimSlider->setCurrentValue(0);
        m_trimSlider->setStartValue(0);
        m_trimSlider->setEndValue(kEmptyRange, true);
    }
}
