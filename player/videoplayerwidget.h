#pragma once

#include "convert/cutmode.h"

#include <QWidget>

class ThumbnailLoader;

#include <cstdint>

class CMyPlayer;
class MyPushButton;
class MyQTimeEdit;
class MyTempButton2;
class MyTrimSlider;
class QLabel;
class QSlider;
class VideoItemWidget;

// The preview panel: plays the selected row's file inside the panel and is
// where the user sets that row's cut range, on the trim slider, in the two
// time fields or from the play position. Every change of the range goes
// straight into the row's cutStart and cutEnd.
class VideoPlayerWidget : public QWidget
{
    Q_OBJECT

public:
    explicit VideoPlayerWidget(QWidget* parent = nullptr);
    ~VideoPlayerWidget() override;

    // Loads `item` (or nothing) and starts its preview from the beginning.
    void setItem(VideoItemWidget* item);
    void stopPreview();
    void setControlsEnabled(bool enabled);
    void layoutPanel();
    void applySkin();
    void retranslate();

    // Keyframe: the row's start moves back to the keyframe at or before it
    // whenever the user settles on a start, and the slider marks the
    // keyframes; the end moves back to where a copy can end cleanly.
    // Exact: the range stays where the user puts it.
    void setCutMode(CutMode mode);
    CutMode cutMode() const { return m_cutMode; }

    // The keyboard's way to the panel. Each does nothing while the controls
    // are off (no row, or a job runs).
    // Plays when stopped or paused, pauses when playing.
    void togglePlay();
    bool isPlaying() const;
    // Moves the playhead by whole frames or seconds, while not playing.
    void stepFrames(int frames);
    void stepSeconds(int seconds);
    // The playhead to the start or end of the kept range.
    void jumpToRangeStart();
    void jumpToRangeEnd();
    void setStartAtPlayhead();
    void setEndAtPlayhead();

    VideoItemWidget* item() const { return m_item; }
    bool isStarted() const { return m_started; }
    CMyPlayer* player() const { return m_player; }
    MyTrimSlider* trimSlider() const { return m_trimSlider; }
    MyQTimeEdit* startField() const { return m_startTimeEdit; }
    MyQTimeEdit* endField() const { return m_endTimeEdit; }
    QLabel* currentTimeLabel() const { return m_currentTimeLabel; }
    QLabel* durationLabel() const { return m_durationLabel; }
    QLabel* selectionLabel() const { return m_selectionLabel; }
    QWidget* pictureArea() const { return m_pictureArea; }
    QWidget* videoWindow() const { return m_videoWindow; }
    QLabel* cover() const { return m_cover; }
    MyPushButton* playButton() const { return m_playButton; }
    MyPushButton* pauseButton() const { return m_pauseButton; }
    MyPushButton* setStartButton() const { return m_setStartButton; }
    MyPushButton* setEndButton() const { return m_setEndButton; }
    MyTempButton2* resetButton() const { return m_resetButton; }

private slots:
    void trimSlider_Pressed_slots();
    void trimSlider_Released_slots();
    void trimSlider_CurrentValueChanged_slots();
    void trimSlider_CurrentValueChanged2_slots();
    void trimSlider_TrimValueChanged_slots();
    void trimSlider_StartReleased_slots();
    void frameIndex_Ready_slots(const QString& path);
    void startTimeEdit_ValueChanged_slots();
    void endTimeEdit_ValueChanged_slots();
    void player_updatecurrentTime(int64_t curTime, int64_t durTime);
    void player_play_end_slots();
    void player_played_to_end_slots();
    void playButton_slots();
    void pauseButton_slots();
    void mateButton_slots();
    void soundSlider_Released();
    void readplaypos4startButton_slots();
    void readplaypos4endButton_slots();
    void resetButton_slots();
    void applyAllButton_slots();

protected:
    void changeEvent(QEvent* event) override;

private:
    void playFrom(qint64 position);
    bool keysActive() const;
    // Puts the playhead at `position` without starting playback.
    void movePlayhead(qint64 position);
    void placePicture();
    void loadCover();
    void showMuteState();
    // Marks and, in Keyframe mode, the snapped start, from the item's index.
    void applyKeyframes();
    // Keyframe mode: the start to the keyframe at or before it (slack: how
    // far past the start a keyframe may lie and still count), the end to
    // where a copy can end cleanly.
    void snapStartToKeyframe(qint64 slack = 0);

    VideoItemWidget* m_item = nullptr;
    bool m_dragging = false;
    CMyPlayer* m_player = nullptr;
    bool m_started = false;
    qint64 m_playStart = 0;
    CutMode m_cutMode = CutMode::Exact;

    QWidget* m_frame = nullptr;
    QWidget* m_pictureArea = nullptr;
    QWidget* m_backdrop = nullptr;
    QLabel* m_cover = nullptr;
    ThumbnailLoader* m_coverLoader = nullptr;
    quint64 m_coverRequest = 0;
    QWidget* m_videoWindow = nullptr;
    QLabel* m_currentTimeLabel = nullptr;
    QLabel* m_durationLabel = nullptr;
    MyTrimSlider* m_trimSlider = nullptr;
    QWidget* m_timeRow = nullptr;
    QLabel* m_startLabel = nullptr;
    MyQTimeEdit* m_startTimeEdit = nullptr;
    QLabel* m_selectionLabel = nullptr;
    QLabel* m_endLabel = nullptr;
    MyQTimeEdit* m_endTimeEdit = nullptr;
    QWidget* m_controlsRow = nullptr;
    MyPushButton* m_playButton = nullptr;
    MyPushButton* m_pauseButton = nullptr;
    MyPushButton* m_muteButton = nullptr;
    QSlider* m_volumeSlider = nullptr;
    MyPushButton* m_setStartButton = nullptr;
    MyPushButton* m_setEndButton = nullptr;
    MyTempButton2* m_resetButton = nullptr;
    MyTempButton2* m_applyAllButton = nullptr;
};
