#include "list/listnoitemwidget.h"
#include "widgets/stylesheet.h"

#include "resources/spriteregions.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "widgets/sprites.h"

#include <QLabel>
#include <QPalette>

ListNoItemWidget::ListNoItemWidget(QWidget* parent) : QWidget(parent)
{
    m_frame = new QWidget(this);
    m_picture = new QLabel(m_frame);
    m_hint = new QLabel(m_frame);
    m_hint->setAlignment(Qt::AlignCenter);
}

void ListNoItemWidget::refreshGuide()
{
    const int w = width();
    const int h = height();
    const QString background = SkinPalette::instance()->colorOf(QStringLiteral("rightbgcolor"));

    m_frame->setGeometry(0, 0, w, h);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(background));
    setPalette(palette);
    setAutoFillBackground(true);

    const int pictureWidth = Scaled(175);
    const int pictureHeight = Scaled(122);
    const int pictureY = (h - pictureHeight) / 2 - Scaled(40);
    m_picture->setGeometry((w - pictureWidth) / 2, pictureY, pictureWidth, pictureHeight);
    const QPixmap sprite =
        PublicSprite().copy(Sprites::toRect<QRect>(Sprites::region(Sprites::RegionId::ListGuide)));
    if (!sprite.isNull()) {
        m_picture->setPixmap(
            sprite.scaled(m_picture->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }

    m_hint->setGeometry(Scaled(10), pictureY + pictureHeight, w - Scaled(20), Scaled(40));
    m_hint->setText(tr("Drag and drop files to start"));
    SetStyleSheet(m_hint,
                  QStringLiteral("QLabel{font-size:%1px;color:%2;}")
                      .arg(Scaled(16))
                      .arg(SkinPalette::instance()->colorOf(QStringLiteral("txtcolor_main"))));
}
