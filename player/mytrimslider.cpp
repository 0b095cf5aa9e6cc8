#include "player/mytrimslider.h"

#include "resources/spriteregions.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "widgets/mypushbutton.h"
#include "widgets/sprites.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace {

void FillWithSkinColour(QLabel* label, const char* key)
{
    const QColor colour(SkinPalette::instance()->colorOf(QLatin1String(key)));
    QPalette palette = label->palette();
    // Every group, so a disabled slider keeps its colours and only stops
    // reacting.
    palette.setColor(QPalette::All, QPalette::Window, colour);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

} // namespace

// Long files carry thousands of keyframes: one widget paints all the marks
// rather than one widget per mark.
class MyTrimSlider::TickLayer : public QWidget
{
public:
    explicit TickLayer(QWidget* parent) : QWidget(parent)
    {
        // Clicks on the bar belong to the slider underneath.
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

    QList<int> xs; // sorted, one entry per pixel column
    QColor colour;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int tick = qMax(1, Scaled(1));
        for (int x : xs)
            painter.fillRect(x - tick / 2, 0, tick, height(), colour);
    }
};

MyTrimSlider::MyTrimSlider(QWidget* parent)
    : QWidget(parent), m_backgroundBar(new QLabel(this)), m_playedBar(new QLabel(this)),
      m_trimStretch(new QLabel(this)), m_tickLayer(new TickLayer(this)),
      m_playhead(new MyPushButton(this)), m_leftHandle(new MyPushButton(this)),
      m_rightHandle(new MyPushButton(this))
{
    m_playedBar->hide();

    connect(m_playhead, &MyPushButton::Pressclicked, this, &MyTrimSlider::moveButton_Press_slots);
    connect(m_leftHandle, &MyPushButton::Pressclicked, this, &MyTrimSlider::leftButton_Press_slots);
    connect(m_rightHandle, &MyPushButton::Pressclicked, this,
            &MyTrimSlider::rightButton_Press_slots);
    connect(m_playhead, &MyPushButton::clicked, this, &MyTrimSlider::moveButton_slots);
    connect(m_leftHandle, &MyPushButton::clicked, this, &MyTrimSlider::leftButton_slots);
    connect(m_rightHandle, &MyPushButton::clicked, this, &MyTrimSlider::rightButton_slots);
}

void MyTrimSlider::setSliderGeometry(int x, int y, int width, int height)
{
    setGeometry(x, y, width, height);

    const TrimLogic::TrimGeometry g = TrimLogic::TrimGeometry::ForWidth(width, ScaleFactor());
    m_handleWidth = g.handleWidth;
    m_trackLength = g.trackLength();
    const int half = g.half();
    const int barY = Scaled(10);
    const int barHeight = Scaled(3);

    m_backgroundBar->setGeometry(half + Scaled(2), barY, qMax(0, width - Scaled(4) - m_handleWidth),
                                 barHeight);
    m_playedBar->setGeometry(half, barY, width, barHeight);
    m_playedBar->hide();
    m_playhead->setButtonGeometry(0, Scaled(1), g.playheadWidth, Scaled(20));
    m_leftHandle->setButtonGeometry(0, Scaled(15), m_handleWidth, Scaled(15));
    m_rightHandle->setButtonGeometry(m_trackLength, Scaled(15), m_handleWidth, Scaled(15));
    m_trimStretch->setGeometry(0, barY, 0, barHeight);
    // The marks stand a little above the bar and cross it, so they show on
    // both the grey and the coloured stretch and stay clear of the handles.
    const int rise = Scaled(4);
    m_tickLayer->setGeometry(0, barY - rise, width, rise + barHeight);
    placeStretch();
    placeKeyframeTicks();

    ApplySkin();
}

void MyTrimSlider::ApplySkin()
{
    FillWithSkinColour(m_backgroundBar, "trimslider_bgcolor");
    FillWithSkinColour(m_playedBar, "trimslider_lightcolor");
    FillWithSkinColour(m_trimStretch, "trimslider_trimcolor");
    m_tickLayer->colour = QColor(SkinColour("txtcolor_main2"));
    m_tickLayer->update();
    ApplySpriteButton(m_playhead, Sprites::kTrimPlayheadButton);
    ApplySpriteButton(m_leftHandle, Sprites::kTrimHandleButton);
    ApplySpriteButton(m_rightHandle, Sprites::kTrimHandleButton);
}

void MyTrimSlider::setRange(qint64 minimum, qint64 maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    placeKeyframeTicks();
}

void MyTrimSlider::setKeyframeTicks(const QList<qint64>& times)
{
    m_keyframeTimes = times;
    placeKeyframeTicks();
}

void MyTrimSlider::placeKeyframeTicks()
{
    QList<int> xs;
    if (!m_keyframeTimes.isEmpty() && m_trackLength > 0 && m_maximum > m_minimum) {
        const TrimLogic::TrimGeometry g = Geometry();
        xs.reserve(qMin<qsizetype>(m_keyframeTimes.size(), m_trackLength + 1));
        for (qint64 time : m_keyframeTimes) {
            if (time < m_minimum || time > m_maximum)
                continue;
            const int x = TrimLogic::MarkX(time, m_minimum, m_maximum, g);
            // Keyframes closer than a pixel would only paint the same column.
            if (xs.isEmpty() || xs.constLast() != x)
                xs.append(x);
        }
    }
    m_tickLayer->xs = xs;
    m_tickLayer->setVisible(!xs.isEmpty());
    m_tickLayer->update();
}

void MyTrimSlider::setCurrentValue(qint64 value)
{
    m_current = TrimLogic::ClampValue(value, m_minimum, m_maximum);
    placePlayhead(PixelOf(m_current), false);
}

void MyTrimSlider::setStartValue(qint64 value)
{
    m_start = TrimLogic::ClampValue(value, m_minimum, m_maximum);
    placeLeftHandle(PixelOf(m_start), false);
}

void MyTrimSlider::setEndValue(qint64 value, bool centred)
{
    m_end = TrimLogic::ClampValue(value, m_minimum, m_maximum);
    placeRightHandle(TrimLogic::EndHandleX(m_end, centred, m_minimum, m_maximum, Geometry()),
                     false);
}

QWidget* MyTrimSlider::playhead() const
{
    return m_playhead;
}

QWidget* MyTrimSlider::leftHandle() const
{
    return m_leftHandle;
}

QWidget* MyTrimSlider::rightHandle() const
{
    return m_rightHandle;
}

QWidget* MyTrimSlider::trimStretch() const
{
    return m_trimStretch;
}

QWidget* MyTrimSlider::playedBar() const
{
    return m_playedBar;
}

QWidget* MyTrimSlider::keyframeTickLayer() const
{
    return m_tickLayer;
}

TrimLogic::TrimGeometry MyTrimSlider::Geometry() const
{
    // From the laid-out children rather than the scale factor, so the
    // arithmetic always agrees with what is on screen.
    TrimLogic::TrimGeometry g;
    g.width = width();
    g.handleWidth = m_handleWidth;
    g.playheadWidth = m_playhead->width();
    return g;
}

qint64 MyTrimSlider::ValueAt(int x) const
{
    // The playhead's and the right handle's pixels reach half a handle past
    // the track, which would read as a position after the end of the range.
    return TrimLogic::ClampValue(TrimLogic::PixelToValue(x, m_minimum, m_maximum, m_trackLength),
                                 m_minimum, m_maximum);
}

int MyTrimSlider::PixelOf(qint64 value) const
{
    return TrimLogic::ValueToPixel(value, m_minimum, m_maximum, m_trackLength);
}

void MyTrimSlider::placePlayhead(int x, bool updateValue)
{
    const TrimLogic::TrimGeometry g = Geometry();
    const int placed = TrimLogic::ClampPlayheadX(x, g);
    m_playhead->move(placed, m_playhead->y());
    m_playhead->raise();
    m_playedBar->resize(qMax(0, TrimLogic::PlayedBarWidth(placed, g)), m_playedBar->height());
    if (updateValue) {
        m_current = ValueAt(placed);
    }
}

void MyTrimSlider::placeLeftHandle(int x, bool updateValue)
{
    const TrimLogic::TrimGeometry g = Geometry();
    const int placed = TrimLogic::ClampLeftHandleX(x, m_rightHandle->x(), g);
    m_leftHandle->move(TrimLogic::LeftHandleEdge(placed, g), m_leftHandle->y());
    m_leftHandle->raise();
    placeStretch();
    if (updateValue) {
        m_start = ValueAt(placed);
        // The playhead jumps to the new start so the preview shows it.
        setCurrentValue(m_start);
        emit trimValueChanged();
    }
}

void MyTrimSlider::placeRightHandle(int x, bool updateValue)
{
    const TrimLogic::TrimGeometry g = Geometry();
    const int placed = TrimLogic::ClampRightHandleX(x, m_leftHandle->x(), g);
    m_rightHandle->move(TrimLogic::RightHandleEdge(placed, g), m_rightHandle->y());
    m_rightHandle->raise();
    placeStretch();
    if (updateValue) {
        m_end = ValueAt(placed);
        setCurrentValue(m_end);
        emit trimValueChanged();
    }
}

void MyTrimSlider::placeStretch()
{
    const TrimLogic::TrimStretch stretch =
        TrimLogic::StretchBetween(m_leftHandle->x(), m_rightHandle->x(), Geometry());
    m_trimStretch->setGeometry(stretch.x, m_trimStretch->y(), qMax(0, stretch.width),
                               m_trimStretch->height());
}

void MyTrimSlider::buttonPressed(bool& flag)
{
    flag = true;
    m_pressValue = m_current;
    emit trimPresssed();
}

void MyTrimSlider::buttonReleased(bool& flag)
{
    flag = false;
    if (m_pressValue != m_current) {
        emit CurrentValueChanged();
    }
}

void MyTrimSlider::moveButton_Press_slots()
{
    buttonPressed(m_playheadPressed);
}

void MyTrimSlider::leftButton_Press_slots()
{
    buttonPressed(m_leftPressed);
}

void MyTrimSlider::rightButton_Press_slots()
{
    buttonPressed(m_rightPressed);
}

void MyTrimSlider::moveButton_slots()
{
    buttonReleased(m_playheadPressed);
}

void MyTrimSlider::leftButton_slots()
{
    // First, so an owner that moves the start on release also moves the
    // playhead before the release reports where it ended.
    if (m_leftPressed)
        emit startHandleReleased();
    buttonReleased(m_leftPressed);
}

void MyTrimSlider::rightButton_slots()
{
    buttonReleased(m_rightPressed);
}

void MyTrimSlider::mousePressEvent(QMouseEvent* event)
{
    // Only the band of the bar and the playhead takes clicks; the handles'
    // band below it is left to the handles.
    const int y = event->position().toPoint().y();
    if (y <= m_playhead->y() + m_playhead->height()) {
        m_barPressed = true;
        m_pressValue = m_current;
    }
    event->accept();
}

void MyTrimSlider::mouseMoveEvent(QMouseEvent* event)
{
    // Any movement turns a pending click on the bar into nothing.
    m_barPressed = false;
    const int x = event->position().toPoint().x();
    if (m_playheadPressed) {
        placePlayhead(x, true);
        emit CurrentValueChanged2();
    } else if (m_leftPressed) {
        placeLeftHandle(x, true);
    } else if (m_rightPressed) {
        placeRightHandle(x, true);
    }
    event->accept();
}

void MyTrimSlider::mouseReleaseEvent(QMouseEvent* event)
{
    emit trimReleased();
    if (m_barPressed) {
        m_barPressed = false;
        placePlayhead(event->position().toPoint().x(), true);
        m_playheadPressed = false;
        if (m_pressValue != m_current) {
            emit CurrentValueChanged();
        }
    }
    event->accept();
}
