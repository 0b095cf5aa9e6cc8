#include "mainwindow/vctopwidget.h"

#include "app/platform.h"
#include "media/addfilesdialog.h"
#include "resources/spriteregions.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"
#include "widgets/sprites.h"

#include <QLabel>
#include <QPalette>
#include <QPixmap>

namespace {

// How long closing waits for stray preview players to end.
constexpr int kPlayerKillTimeoutMs = 1000;

QString CommandButtonSheet(const char* background, const char* border)
{
    return QStringLiteral("QLabel{font-size:") + ScaledPx(14) +
           QStringLiteral(";font-weight:500;color:#FFFFFF;background-color:") +
           QLatin1String(background) + QStringLiteral(";border:") + QLatin1String(border) +
           QStringLiteral(";}");
}

void ApplyCommandButtonSkin(MyTempButton5* button, Sprites::RegionId icon)
{
    const QString pressed = CommandButtonSheet("#171B1F", "1px solid #778E9E");
    button->setStateStyleSheets(CommandButtonSheet("#2a3137", "0px solid #50616B"),
                                CommandButtonSheet("#293238", "1px solid #50616B"), pressed);
    button->setDisabledStyleSheet(pressed);
    button->setEnabledState(button->isEnabledState());

    // The icon sits at the left end; the caption is centred in what is left so
    // the two never overlap.
    const int iconSize = Scaled(30);
    const int iconX = Scaled(6);
    button->setIcon(PublicSprite().copy(Sprites::toRect<QRect>(Sprites::region(icon))), iconX,
                    (Scaled(33) - iconSize) / 2, iconSize, iconSize);
    button->styleLabel()->setContentsMargins(iconX + iconSize, 0, 0, 0);
}

} // namespace

VCTopWidget::VCTopWidget(QWidget* parent)
    : QWidget(parent), m_logoLabel(new QLabel(this)), m_titleLabel(new QLabel(this)),
      m_closeButton(new MyPushButton(this)), m_minButton(new MyPushButton(this)),
      m_commandWidget(new QWidget(this)), m_commandInner(new QWidget(m_commandWidget)),
      m_AddButton(new MyTempButton5(m_commandInner)),
      m_ClearButton(new MyTempButton5(m_commandInner)), m_versionLabel(new QLabel(m_commandInner))
{
    m_logoLabel->setScaledContents(true);
    m_logoLabel->setPixmap(QPixmap(QStringLiteral(":/images/program.png")));
    // The strip's style sheet draws a line along its top edge and would hand
    // the same line to every label inside it. This rule reaches only the
    // widgets inside the inner one, which itself still draws the line.
    m_commandInner->setObjectName(QStringLiteral("commandInner"));
    m_commandInner->setStyleSheet(QStringLiteral("#commandInner QWidget{border:none;}"));
    m_ClearButton->hide();

    connect(m_closeButton, &MyPushButton::clicked, this, &VCTopWidget::closeButton_slots);
    connect(m_minButton, &MyPushButton::clicked, this, &VCTopWidget::minButton_slots);
    connect(m_AddButton, &MyTempButton5::clicked, this, &VCTopWidget::m_AddButton_slots);
    connect(m_ClearButton, &MyTempButton5::clicked, this, &VCTopWidget::m_ClearButton_slots);

    LayoutChildren();
    ApplySkin();
    Retranslate();
}

void VCTopWidget::LayoutChildren()
{
    const int w = width();
    m_logoLabel->setGeometry(Scaled(5), Scaled(5), Scaled(26), Scaled(26));
    m_titleLabel->setGeometry(Scaled(36), Scaled(2), Scaled(360), Scaled(30));
    m_closeButton->setButtonGeometry(w - Scaled(34), Scaled(8), Scaled(24), Scaled(24));
    m_minButton->setButtonGeometry(w - Scaled(34 + 44), Scaled(8), Scaled(24), Scaled(24));
    // The menu (w - 34 - 88) and feedback (w - 34 - 132) buttons go beside them.

    m_commandWidget->setGeometry(0, Scaled(40), w, Scaled(54));
    m_commandInner->setGeometry(0, 0, m_commandWidget->width(), m_commandWidget->height());
    m_AddButton->setGeometry(Scaled(18), Scaled(9), Scaled(98), Scaled(33));
    m_ClearButton->setGeometry(m_AddButton->x() + m_AddButton->width() + Scaled(15), Scaled(9),
                               Scaled(98), Scaled(33));
    m_versionLabel->setGeometry(m_commandWidget->width() - Scaled(175), Scaled(2), Scaled(160),
                                Scaled(20));
}

void VCTopWidget::ApplySkin()
{
    const SkinPalette* skin = SkinPalette::instance();
    const QString background = skin->colorOf(QStringLiteral("leftbgcolor"));

    // Through the palette, not a style sheet, so the colour does not cascade
    // onto the children.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(background));
    setPalette(palette);
    setAutoFillBackground(true);

    m_commandWidget->setStyleSheet(
        QStringLiteral("QWidget{border: 1px solid ") + skin->colorOf(QStringLiteral("linecolor")) +
        QStringLiteral("; border-left:none;border-bottom:none;border-right:none; border-radius: "
                       "0px;background-color:") +
        background + QStringLiteral(";}"));

    ApplySpriteButton(m_closeButton, Sprites::kTopBarCloseButton);
    ApplySpriteButton(m_minButton, Sprites::kTopBarMinimiseButton);

    ApplyCommandButtonSkin(m_AddButton, Sprites::RegionId::AddFilesIcon);
    ApplyCommandButtonSkin(m_ClearButton, Sprites::RegionId::ClearAllIcon);
}

void VCTopWidget::Retranslate()
{
    m_titleLabel->setStyleSheet(QStringLiteral("QLabel{font-size:") + QString::number(Scaled(14)) +
                                QStringLiteral("px;color:") +
                                SkinPalette::instance()->colorOf(QStringLiteral("company_color")) +
                                QStringLiteral(";font-weight:600;}"));
    m_titleLabel->setText(tr("Tarnwick Framewright"));
    m_titleLabel->adjustSize();

    m_versionLabel->setText(tr("Ver: ") + QStringLiteral(SPLICORA_VERSION));
    m_versionLabel->setStyleSheet(QStringLiteral("QLabel{font-size:") +
                                  QString::number(Scaled(10)) +
                                  QStringLiteral("px;color:#a3a3a5;}"));

    m_AddButton->setText(tr("Add Files"));
    m_ClearButton->setText(tr("Clear All"));
}

void VCTopWidget::RefreshButtons(int rowCount)
{
    const bool hasRows = rowCount > 0;
    m_ClearButton->setVisible(hasRows);
    emit startEnabledChanged(hasRows);
}

void VCTopWidget::closeButton_slots()
{
    // Players of earlier runs that were never ended would otherwise keep
    // playing after the program is gone.
    Platform::KillProcessesNamed(QStringLiteral("ffplay"), kPlayerKillTimeoutMs);
    window()->close();
}

void VCTopWidget::minButton_slots()
{
    window()->showMinimized();
}

void VCTopWidget::m_AddButton_slots()
{
    const QStringList paths = AddFiles(this);
    if (!paths.isEmpty())
        emit filesChosen(paths);
}

void VCTopWidget::m_ClearButton_slots()
{
    emit clearAllRequested();
}
