#include "update/updatelook.h"
#include "widgets/stylesheet.h"

#include "resources/spriteregions.h"
#include "skin/scale.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"
#include "widgets/sprites.h"

#include <QLabel>
#include <QPalette>
#include <QPixmap>

void ApplyUpdatePanel(QWidget* panel, QWidget* line)
{
    SetStyleSheet(
        panel,
        QStringLiteral(
            "QWidget{border: 1px solid #040405; background-color:#2e3033;border-radius: 0px;}"));
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, QColor(QStringLiteral("#393b3e")));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
}

void ApplyUpdateCross(MyPushButton* cross)
{
    ApplySpriteButton(cross, Sprites::kUpdateDialogCloseButton, Public4kSprite());
}

void ShowProgramIcon(QLabel* label)
{
    label->setScaledContents(true);
    label->setPixmap(QPixmap(QStringLiteral(":/images/program.png")));
    SetStyleSheet(label, QStringLiteral("QLabel{border:none;background:transparent;}"));
}

void ApplyGreyButton(MyTempButton2* button)
{
    const QString size = QString::number(Scaled(14));
    button->setStateStyleSheets(
        QStringLiteral("QLabel{border: 1px solid #cbcbcb; font-size:") + size +
            QStringLiteral("px;color:#777777;  background-color:#ffffff;border-radius: 3px;}"),
        QStringLiteral("QLabel{border: 1px solid #00a1e9; font-size:") + size +
            QStringLiteral("px;color:#ffffff;  background-color:#00a1e9;border-radius: 3px;}"),
        QStringLiteral("QLabel{border: 1px solid #cbcbcb; font-size:") + size +
            QStringLiteral("px;color:#c6c6c6;  background-color:#ffffff;border-radius: 3px;}"));
    button->setAlignment(Qt::AlignCenter);
    button->setEnabledState(button->isEnabledState());
}

QString UpdateLabelSheet(int fontUnits, const char* colour, int weight)
{
    return QStringLiteral("QLabel{font-size:%1px;color:%2;font-weight:%3;border:none;"
                          "background:transparent;}")
        .arg(Scaled(fontUnits))
        .arg(QLatin1String(colour))
        .arg(weight);
}
