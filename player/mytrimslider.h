#pragma once

#include "player/trimlogic.h"

#include <QList>
#include <QWidget>
#include <QtGlobal>

class QLabel;
class QMouseEvent;
class MyPushButton;

// The bar under the preview picture on which the user sets the cut range with
// two handles and moves the play position with a narrow playhead. It holds
// three values (current, trim start, trim end) in the owner's unit, maps them
// to pixels and back, and reports what the user did by signals; it knows
// nothing of files, players or time text.
//
// The owner places it with setSliderGeometry() and then sets the range and
// the three values again: a layout does not re-map them. Every value the
// slider holds stays within [minimum, maximum].
class MyTrimSlider : public QWidget
{
    Q_OBJECT

public:
    explicit MyTrimSlider(QWidget* parent = nullptr);

    // Places the slider and lays out its children for the new size.
    void setSliderGeometry(int x, int y, int width, int height);
    // Colours and pictures from the current skin; part of every layout.
    void ApplySkin();

    // Plain assignment: the owner sets the values again afterwards.
    void setRange(qint64 minimum, qint64 maximum);
    // The setters clamp to the range, move their button and emit nothing.
    void setCurrentValue(qint64 value);
    void setStartValue(qint64 value);
    // centred puts the right handle half a handle further right for the same
    // value; the owner uses it when a whole file (or nothing) is loaded.
    void setEndValue(qint64 value, bool centred);

    // Marks along the bar at these values (sorted, in the owner's unit), where
    // the user may place a start that needs no re-encoding. An empty list
    // hides them.
    void setKeyframeTicks(const QList<qint64>& times);
    const QList<qint64>& keyframeTicks() const { return m_keyframeTimes; }

    qint64 currentValue() const { return m_current; }
    qint64 startValue() const { return m_start; }
    qint64 endValue() const { return m_end; }
    qint64 minimum() const { return m_minimum; }
    qint64 maximum() const { return m_maximum; }
    int handleWidth() const { return m_handleWidth; }
    int trackLength() const { return m_trackLength; }

    QWidget* playhead() const;
    QWidget* leftHandle() const;
    QWidget* rightHandle() const;
    QWidget* trimStretch() const;
    QWidget* playedBar() const;
    // The one widget that draws every keyframe mark.
    QWidget* keyframeTickLayer() const;

signals:
    // Every mouse move while a trim handle is dragged.
    void trimValueChanged();
    // A drag or a click on the bar ended with the playhead somewhere new.
    void CurrentValueChanged();
    // Every mouse move while the playhead is dragged.
    void CurrentValueChanged2();
    // The playhead or a handle was pressed.
    void trimPresssed();
    // Any mouse release reached the slider.
    void trimReleased();
    // The left handle was let go after a press on it (moved or not); sent
    // before the release's CurrentValueChanged.
    void startHandleReleased();

private slots:
    void moveButton_Press_slots();
    void leftButton_Press_slots();
    void rightButton_Press_slots();
    void moveButton_slots();
    void leftButton_slots();
    void rightButton_slots();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class TickLayer;

    TrimLogic::TrimGeometry Geometry() const;
    void placeKeyframeTicks();
    void placePlayhead(int x, bool updateValue);
    void placeLeftHandle(int x, bool updateValue);
    void placeRightHandle(int x, bool updateValue);
    void placeStretch();
    qint64 ValueAt(int x) const;
    int PixelOf(qint64 value) const;
    void buttonPressed(bool& flag);
    void buttonReleased(bool& flag);

    qint64 m_current = 0;
    qint64 m_start = 0;
    qint64 m_end = 0;
    qint64 m_minimum = 0;
    qint64 m_maximum = 0;
    qint64 m_pressValue = 0;

    int m_handleWidth = 0;
    int m_trackLength = 0;
    bool m_playheadPressed = false;
    bool m_leftPressed = false;
    bool m_rightPressed = false;
    bool m_barPressed = false;

    QLabel* m_backgroundBar = nullptr;
    QLabel* m_playedBar = nullptr;
    QLabel* m_trimStretch = nullptr;
    TickLayer* m_tickLayer = nullptr;
    QList<qint64> m_keyframeTimes;
    MyPushButton* m_playhead = nullptr;
    MyPushButton* m_leftHandle = nullptr;
    MyPushButton* m_rightHandle = nullptr;
};
