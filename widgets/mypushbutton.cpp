#include "widgets/mypushbutton.h"
#include "widgets/stylesheet.h"

#include "widgets/focusring.h"

#include "widgets/mylabel.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

#include <algorithm>

namespace {

constexpr int kCaptionLineHeight = 20; // type 5, in unscaled pixels

bool TypeHasIcon(int type)
{
    return type == 1 || type == 2 || type == 5;
}

bool TypeHasCaption(int type)
{
    return type == 1 || type == 2 || type == 5 || type == 6;
}

void SetBackground(QWidget* target, const QBrush& brush)
{
    QPalette palette = target->palette();
    palette.setBrush(QPalette::Window, brush);
    target->setPalette(palette);
}

} // namespace

MyPushButton::MyPushButton(QWidget* parent) : QLabel(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setAlignment(Qt::AlignCenter);
    SetBackground(this, QColor(174, 174, 174));
    setAutoFillBackground(true);
}

void MyPushButton::setStateImages(const QString& normal, const QString& hover,
                                  const QString& pressed, const QString& disabled, int type)
{
    m_useSharedSprite = false;
    m_imagePaths = {normal, hover, pressed, disabled};
    for (int state = 0; state < kStateCount; ++state) {
        const QString& path = m_imagePaths[state];
        m_statePictures[state] = path.isEmpty() ? QPixmap() : QPixmap(path);
        if (!path.isEmpty()) {
            m_stateRects[state] = m_statePictures[state].rect();
        }
    }
    setType(type);
}

void MyPushButton::setStateRect(int state, int x, int y, int width, int height)
{
    if (state < 0 || state >= kStateCount) {
        return;
    }
    m_stateRects[state] = QRect(x, y, width, height);
    refreshState();
}

void MyPushButton::setSharedSprite(const QPixmap& sprite)
{
    m_sharedSprite = sprite;
    m_useSharedSprite = true;
    refreshState();
}

void MyPushButton::setType(int type)
{
    const bool typeChanged = type != m_type;
    m_type = type;
    if (!TypeHasIcon(type)) {
        dropChildLabel(m_iconLabel);
    }
    if (!TypeHasCaption(type)) {
        dropChildLabel(m_captionLabel);
    }

    bool iconCreated = false;
    bool captionCreated = false;
    if (TypeHasIcon(type) && !m_iconLabel) {
        m_iconLabel = createChildLabel();
        m_iconLabel->installEventFilter(this);
        iconCreated = true;
    }
    if (TypeHasCaption(type) && !m_captionLabel) {
        m_captionLabel = createChildLabel();
        // Only a type-6 button reports its caption's click as its own; the
        // connection stays in place so a later change of type keeps working.
        connect(m_captionLabel, &MyLabel::clicked, this, [this] {
            if (m_type == 6 && m_enabled) {
                m_captionReleaseReported = true;
                emit clicked();
            }
        });
        captionCreated = true;
    }

    setAutoFillBackground(type != 0);
    if (m_iconLabel) {
        // The icon carries the state pictures as its background.
        m_iconLabel->setAutoFillBackground(true);
        m_iconLabel->show();
    }
    if (m_captionLabel) {
        m_captionLabel->setText(m_caption);
        m_captionLabel->show();
    }
    // Type 2 is laid out on every call; the others when they get a child or
    // change type, so children kept from the previous type move into place.
    if (type == 2 || typeChanged || iconCreated || captionCreated) {
        applyTypeLayout(iconCreated, captionCreated);
    }
    showState(m_enabled ? Normal : Disabled);
}

void MyPushButton::setButtonGeometry(int x, int y, int width, int height)
{
    // A hidden button gets its resize event only when it is shown, so the
    // child layout is applied here and not left to resizeEvent().
    setGeometry(x, y, width, height);
    applyTypeLayout(false, false);
    refreshState();
}

void MyPushButton::setEnabledState(bool enabled)
{
    m_enabled = enabled;
    showState(enabled ? Normal : Disabled);
    applyCaptionSheet();
}

void MyPushButton::setCaption(const QString& text, const QString& enabledSheet,
                              const QString& disabledSheet)
{
    m_caption = text;
    m_enabledCaptionSheet = enabledSheet;
    m_disabledCaptionSheet = disabledSheet;
    if (m_captionLabel) {
        m_captionLabel->setText(text);
    }
    applyCaptionSheet();
}

bool MyPushButton::isImageMode() const
{
    return !m_imagePaths[Hover].isEmpty() || m_useSharedSprite;
}

QRect MyPushButton::stateRect(int state) const
{
    if (state < 0 || state >= kStateCount) {
        return {};
    }
    return m_stateRects[state];
}

QColor MyPushButton::stateColour(State state)
{
    switch (state) {
    case Hover:
        return QColor(Qt::lightGray);
    case Pressed:
        return QColor(Qt::darkGray);
    case Normal:
    case Disabled:
        break;
    }
    return QColor(Qt::gray);
}

void MyPushButton::enterEvent(QEnterEvent* event)
{
    if (m_enabled) {
        showState(Hover);
        emit enterButton();
    }
    QLabel::enterEvent(event);
}

void MyPushButton::leaveEvent(QEvent* event)
{
    if (m_enabled) {
        showState(Normal);
        emit leaveButton();
    }
    QLabel::leaveEvent(event);
}

void MyPushButton::mousePressEvent(QMouseEvent* event)
{
    m_captionReleaseReported = false;
    if (m_enabled) {
        showState(Pressed);
        emit Pressclicked();
    }
    // The label's own handling passes the press on to the parent.
    QLabel::mousePressEvent(event);
}

void MyPushButton::mouseReleaseEvent(QMouseEvent* event)
{
    // The release counts wherever the pointer is: a window that drags by a
    // button (the trim slider's handles) relies on hearing the end of it.
    if (m_enabled) {
        showState(Normal);
        if (m_captionReleaseReported) {
            m_captionReleaseReported = false;
        } else {
            emit clicked();
        }
    }
    QLabel::mouseReleaseEvent(event);
}

void MyPushButton::keyPressEvent(QKeyEvent* event)
{
    if (IsPressKey(event)) {
        if (m_enabled)
            emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void MyPushButton::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    applyTypeLayout(false, false);
    refreshState();
}

bool MyPushButton::eventFilter(QObject* watched, QEvent* event)
{
    // An owner may place the icon label itself (type 1); its picture must
    // follow its size.
    if (watched == m_iconLabel && event->type() == QEvent::Resize) {
        refreshState();
    }
    return QLabel::eventFilter(watched, event);
}

void MyPushButton::refreshState()
{
    if (m_stateShown) {
        showState(m_shownState);
    }
}

void MyPushButton::showState(State state)
{
    m_shownState = state;
    m_stateShown = true;
    if (!isImageMode()) {
        SetBackground(this, stateColour(state));
        m_drawn = Drawn();
        return;
    }
    QWidget* target = m_iconLabel ? static_cast<QWidget*>(m_iconLabel) : this;
    if (target->width() <= 0 || target->height() <= 0) {
        return; // drawn again once it has a size
    }
    // Setting up a button (sheet, four rectangles, type, size) asks for its
    // picture several times over; each drawing is a copy, a scale and a
    // palette change that every child hears of.
    const QPixmap& source = m_useSharedSprite ? m_sharedSprite : m_statePictures[state];
    const Drawn wanted{target, target->size(), source.cacheKey(), m_stateRects[state], state};
    if (wanted == m_drawn)
        return;
    m_drawn = wanted;
    QPixmap picture = statePicture(state);
    if (picture.isNull()) {
        // A state without a picture of its own looks like the normal state
        // rather than showing nothing at all.
        picture = statePicture(Normal);
    }
    if (picture.isNull()) {
        return;
    }
    // At the design's scale the picture already has the button's size.
    if (picture.size() != target->size())
        picture = picture.scaled(target->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    SetBackground(target, picture);
}

QPixmap MyPushButton::statePicture(State state) const
{
    const QPixmap& source = m_useSharedSprite ? m_sharedSprite : m_statePictures[state];
    if (source.isNull()) {
        return {};
    }
    const QRect& rect = m_stateRects[state];
    return rect.isNull() ? source : source.copy(rect);
}

void MyPushButton::applyTypeLayout(bool iconCreated, bool captionCreated)
{
    const int w = width();
    const int h = height();
    switch (m_type) {
    case 1:
        // The owner places both; until it does, the icon is a square on the
        // left and the caption takes the rest.
        if (iconCreated) {
            m_iconLabel->setGeometry(0, 0, h, h);
        }
        if (captionCreated) {
            m_captionLabel->setGeometry(h, 0, std::max(0, w - h), h);
        }
        break;
    case 2: {
        const int quarter = w / 4;
        m_captionLabel->setGeometry(0, 0, w - quarter, h);
        m_iconLabel->setGeometry(w - quarter, 0, quarter, h);
        m_captionLabel->setText(m_caption);
        break;
    }
    case 5: {
        const int iconHeight = std::max(0, h - kCaptionLineHeight);
        m_iconLabel->setGeometry(0, 0, w, iconHeight);
        m_captionLabel->setGeometry(0, iconHeight, w, std::min(h, kCaptionLineHeight));
        m_captionLabel->setAlignment(Qt::AlignCenter);
        m_captionLabel->setText(m_caption);
        break;
    }
    case 6:
        m_captionLabel->setGeometry(0, 0, w, h);
        m_captionLabel->setAlignment(Qt::AlignCenter);
        break;
    default:
        break;
    }
}

void MyPushButton::applyCaptionSheet()
{
    // Each flag has its own sheet; an enabled button never takes on the
    // disabled look just because it has no enabled sheet.
    const QString& sheet = m_enabled ? m_enabledCaptionSheet : m_disabledCaptionSheet;
    if (sheet.isEmpty()) {
        return;
    }
    if (m_captionLabel) {
        SetStyleSheet(m_captionLabel, sheet);
    }
    SetStyleSheet(this, sheet);
}

MyLabel* MyPushButton::createChildLabel()
{
    auto* label = new MyLabel(this);
    label->setContentsMargins(0, 0, 0, 0);
    return label;
}

void MyPushButton::dropChildLabel(MyLabel*& label)
{
    if (!label) {
        return;
    }
    label->hide();
    label->disconnect(this);
    label->removeEventFilter(this);
    // Deleted later: the type may change from within a slot of this label.
    label->deleteLater();
    label = nullptr;
}
