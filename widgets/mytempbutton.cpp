#include "widgets/mytempbutton.h"
#include "widgets/stylesheet.h"

#include "widgets/focusring.h"

#include "skin/scale.h"
#include "skin/skinpalette.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>

MyTempButton2::MyTempButton2(QWidget* parent) : QLabel(parent) {}

void MyTempButton2::setStateStyleSheets(const QString& normal, const QString& hover,
                                        const QString& disabled)
{
    m_normalStyle = normal;
    m_hoverStyle = hover;
    m_disabledStyle = disabled;
}

void MyTempButton2::setEnabledState(bool enabled)
{
    m_enabled = enabled;
    applySheet(enabled ? m_normalStyle : m_disabledStyle);
}

void MyTempButton2::enterEvent(QEnterEvent* event)
{
    if (m_enabled) {
        applySheet(m_hoverStyle);
    }
    QLabel::enterEvent(event);
}

void MyTempButton2::leaveEvent(QEvent* event)
{
    if (m_enabled) {
        applySheet(m_normalStyle);
    }
    QLabel::leaveEvent(event);
}

void MyTempButton2::mousePressEvent(QMouseEvent* event)
{
    if (m_enabled) {
        emit Pressclicked();
    }
    QLabel::mousePressEvent(event);
}

void MyTempButton2::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_enabled) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

void MyTempButton2::keyPressEvent(QKeyEvent* event)
{
    if (IsPressKey(event)) {
        if (m_enabled)
            emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void MyTempButton2::applySheet(const QString& sheet)
{
    // An empty sheet would wipe the look the button has; keep it instead.
    if (!sheet.isEmpty()) {
        SetStyleSheet(this, sheet);
    }
}

MyTempButton5::MyTempButton5(QWidget* parent)
    : QWidget(parent), m_styleLabel(new QLabel(this)), m_iconLabel(new QLabel(this)),
      m_thirdLabel(new QLabel(this))
{
    // Created in this order so the icon and the third label lie above the
    // inner label that paints the button's face.
    m_styleLabel->setAlignment(Qt::AlignCenter);
    m_iconLabel->setScaledContents(true);
    m_iconLabel->hide();
    m_thirdLabel->hide();
}

void MyTempButton5::setStateStyleSheets(const QString& normal, const QString& hover,
                                        const QString& pressed)
{
    m_normalStyle = normal;
    m_hoverStyle = hover;
    m_pressedStyle = pressed;
}

void MyTempButton5::setEnabledState(bool enabled)
{
    m_enabled = enabled;
    applySheet(enabled ? m_normalStyle : m_disabledStyle);
}

void MyTempButton5::setText(const QString& text)
{
    m_styleLabel->setText(text);
}

QString MyTempButton5::text() const
{
    return m_styleLabel->text();
}

void MyTempButton5::setIcon(const QPixmap& icon, int x, int y, int width, int height)
{
    m_iconLabel->setGeometry(x, y, width, height);
    m_iconLabel->setPixmap(icon);
    m_iconLabel->show();
}

void MyTempButton5::setThirdGeometry(int x, int y, int width, int height)
{
    m_thirdLabel->setGeometry(x, y, width, height);
    m_thirdLabel->show();
}

void MyTempButton5::enterEvent(QEnterEvent* event)
{
    if (m_enabled) {
        applySheet(m_hoverStyle);
    }
    QWidget::enterEvent(event);
}

void MyTempButton5::leaveEvent(QEvent* event)
{
    if (m_enabled) {
        applySheet(m_normalStyle);
    }
    QWidget::leaveEvent(event);
}

void MyTempButton5::mousePressEvent(QMouseEvent* event)
{
    if (m_enabled) {
        applySheet(m_pressedStyle);
        emit Pressclicked();
    }
    QWidget::mousePressEvent(event);
}

void MyTempButton5::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_enabled) {
        applySheet(m_hoverStyle);
        emit clicked();
    }
    QWidget::mouseReleaseEvent(event);
}

void MyTempButton5::keyPressEvent(QKeyEvent* event)
{
    if (IsPressKey(event)) {
        if (m_enabled)
            emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MyTempButton5::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_styleLabel->setGeometry(rect());
}

void MyTempButton5::applySheet(const QString& sheet)
{
    if (!sheet.isEmpty()) {
        SetStyleSheet(m_styleLabel, sheet);
    }
}

void ApplyPaletteButtonSheets(MyTempButton2* button, int scheme, int fontUnits, int fontWeight)
{
    const SkinPalette* palette = SkinPalette::instance();
    const int fontSize = Scaled(fontUnits);
    auto sheet = [&](int state) {
        return palette->buttonStyleSheet(state, scheme, fontSize, fontWeight, 0, true, true, true,
                                         true);
    };
    button->setStateStyleSheets(sheet(SkinPalette::Normal), sheet(SkinPalette::Hover),
                                sheet(SkinPalette::Third));
    button->setEnabledState(button->isEnabledState());
}
