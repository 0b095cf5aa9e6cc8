#include "widgets/mymessagedialog.h"
#include "widgets/stylesheet.h"

#include "app/appfolder.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "widgets/focusring.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"
#include "widgets/sprites.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>

namespace {

// Buttons of the message dialog: scheme 1, 12 px, weight 500, square, framed.
constexpr int kButtonScheme = 1;
constexpr int kButtonFontSize = 12;
constexpr int kButtonFontWeight = 500;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 35;
constexpr int kButtonGap = 10; // half the space between the two buttons

void ApplyButtonSheets(MyTempButton2* button)
{
    ApplyPaletteButtonSheets(button, kButtonScheme, kButtonFontSize, kButtonFontWeight);
    button->setAlignment(Qt::AlignCenter);
    button->setEnabledState(true);
}

} // namespace

MyMessageDialog::MyMessageDialog(QWidget* parent)
    : QDialog(parent), m_background(new QWidget(this)), m_closeButton(new MyPushButton(this)),
      m_titleLabel(new QLabel(this)), m_iconLabel(new QLabel(this)),
      m_messageLabel(new QLabel(this)), m_cancelButton(new MyTempButton2(this)),
      m_okButton(new MyTempButton2(this))
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    m_titleLabel->hide();
    m_messageLabel->setWordWrap(true);
    m_messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_cancelButton->setText(tr("Cancel"));
    m_okButton->setText(tr("OK"));
    resize(Scaled(kBaseWidth), Scaled(kBaseHeight));

    FocusRing::attach(m_cancelButton);
    FocusRing::attach(m_okButton);
    setTabOrder(m_cancelButton, m_okButton);
    connect(m_closeButton, &MyPushButton::clicked, this, &MyMessageDialog::closeButton_slots);
    connect(m_cancelButton, &MyTempButton2::clicked, this, &MyMessageDialog::CancelButton_slots);
    connect(m_okButton, &MyTempButton2::clicked, this, &MyMessageDialog::OKButton_slots);
}

void MyMessageDialog::setupMessage(const QString& text)
{
    applySkin();
    m_singleButton = false;
    m_messageLabel->setText(text);
    m_cancelButton->setText(tr("Cancel"));
    m_okButton->setText(tr("OK"));
    m_cancelButton->show();
    m_okButton->show();
    layoutChildren();
}

void MyMessageDialog::setSingleButton(const QString& caption)
{
    m_singleButton = true;
    m_cancelButton->hide();
    m_okButton->setText(caption);
    m_okButton->show();
    layoutChildren();
}

void MyMessageDialog::setButtonCaptions(const QString& cancelCaption, const QString& okCaption)
{
    m_cancelButton->setText(cancelCaption);
    m_okButton->setText(okCaption);
}

void MyMessageDialog::closeButton_slots()
{
    reject();
}

void MyMessageDialog::CancelButton_slots()
{
    reject();
}

void MyMessageDialog::OKButton_slots()
{
    m_result = true;
    accept();
}

void MyMessageDialog::reject()
{
    // Escape and a close request from the system answer like Cancel.
    m_result = false;
    QDialog::reject();
}

void MyMessageDialog::keyPressEvent(QKeyEvent* event)
{
    // The buttons are drawn labels, which the dialog's own default-button
    // handling does not know. A button that has the focus (Tab) takes Enter
    // itself before it gets here.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (m_enterPressesOk)
            OKButton_slots();
        else
            CancelButton_slots();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MyMessageDialog::mousePressEvent(QMouseEvent* event)
{
    m_dragging = true;
    m_dragPosition = event->globalPosition().toPoint() - pos();
    event->accept();
}

void MyMessageDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging) {
        // Global coordinates: the pointer's place in the dialog stays what it
        // was at the press however late the window system applies each move.
        move(event->globalPosition().toPoint() - m_dragPosition);
    }
    event->accept();
}

void MyMessageDialog::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    event->accept();
}

void MyMessageDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layoutChildren();
}

void MyMessageDialog::layoutChildren()
{
    const int w = width();
    const int h = height();
    m_background->setGeometry(0, 0, w, h);
    m_closeButton->setButtonGeometry(w - Scaled(30), Scaled(10), Scaled(20), Scaled(20));
    m_titleLabel->setGeometry(Scaled(20), Scaled(10), w - Scaled(50), Scaled(30));

    const int iconX = Scaled(40);
    m_iconLabel->setGeometry(iconX, Scaled(60), Scaled(48), Scaled(48));
    const QPixmap icon(QStringLiteral(":/images/program.png"));
    if (!icon.isNull()) {
        QPalette palette = m_iconLabel->palette();
        palette.setBrush(QPalette::Window, icon.scaled(m_iconLabel->size(), Qt::IgnoreAspectRatio,
                                                       Qt::SmoothTransformation));
        m_iconLabel->setPalette(palette);
        m_iconLabel->setAutoFillBackground(true);
    }

    // The offset of 90 and the 100 of the width are plain pixels, not scaled.
    m_messageLabel->setGeometry(iconX + 90, Scaled(70), w - 2 * Scaled(40) - 100, Scaled(90));

    const int buttonY = m_messageLabel->y() + m_messageLabel->height() + Scaled(20);
    const int buttonWidth = Scaled(kButtonWidth);
    const int buttonHeight = Scaled(kButtonHeight);
    if (m_singleButton) {
        m_okButton->setGeometry((w - buttonWidth) / 2, buttonY, buttonWidth, buttonHeight);
    } else {
        m_cancelButton->setGeometry(w / 2 - Scaled(kButtonGap) - buttonWidth, buttonY, buttonWidth,
                                    buttonHeight);
        m_okButton->setGeometry(w / 2 + Scaled(kButtonGap), buttonY, buttonWidth, buttonHeight);
    }
}

void MyMessageDialog::applySkin()
{
    const SkinPalette* palette = SkinPalette::instance();
    SetStyleSheet(m_background, QStringLiteral("QWidget{border: 1px solid ") +
                                    palette->colorOf(QStringLiteral("linecolor")) +
                                    QStringLiteral("; background-color:") +
                                    palette->colorOf(QStringLiteral("rightbgcolor")) +
                                    QStringLiteral(";}"));

    m_closeButton->setSharedSprite(PublicSprite());
    m_closeButton->setStateRect(MyPushButton::Normal, 0, 192, 48, 48);
    m_closeButton->setStateRect(MyPushButton::Hover, 48, 192, 48, 48);
    m_closeButton->setStateRect(MyPushButton::Pressed, 96, 192, 48, 48);
    m_closeButton->setStateRect(MyPushButton::Disabled, 144, 192, 48, 48);
    m_closeButton->setType(3);

    m_titleLabel->setText(QString::fromLatin1(kProgramName));
    m_titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetStyleSheet(m_titleLabel, QStringLiteral("QLabel{font-size:%1px;color:%2;font-weight:700;}")
                                    .arg(Scaled(16))
                                    .arg(palette->colorOf(QStringLiteral("txtcolor_main"))));
    SetStyleSheet(m_messageLabel, QStringLiteral("QLabel{font-size:%1px;color:%2;}")
                                      .arg(Scaled(15))
                                      .arg(palette->colorOf(QStringLiteral("txtcolor_main2"))));

    ApplyButtonSheets(m_cancelButton);
    ApplyButtonSheets(m_okButton);
}
