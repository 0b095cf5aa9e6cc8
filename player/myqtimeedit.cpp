#include "player/myqtimeedit.h"

#include "app/timetext.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"

#include <QMouseEvent>

namespace {

QString ArrowRule(const char* selector, const char* image)
{
    return QStringLiteral("QTimeEdit::") + QLatin1String(selector) +
           QStringLiteral("{subcontrol-origin:border;subcontrol-position:center; width: "
                          "15px;height: 10px; border-image:url(:/images/arrow/") +
           QLatin1String(image) + QStringLiteral(");}");
}

} // namespace

MyQTimeEdit::MyQTimeEdit(QWidget* parent) : QTimeEdit(parent)
{
    setDisplayFormat(QStringLiteral("hh:mm:ss.zzz"));
    // Input that cannot be corrected otherwise goes to the nearest limit
    // rather than springing back to the old value.
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QTime MyQTimeEdit::LatestTime()
{
    return QTime(23, 59, 59, 999);
}

QTime MyQTimeEdit::FieldTime(qint64 microseconds)
{
    const QTime time = MicrosecondsToTimeOfDay(microseconds);
    return time.isValid() ? time : LatestTime();
}

void MyQTimeEdit::setMicroseconds(qint64 microseconds)
{
    setTime(FieldTime(microseconds));
}

qint64 MyQTimeEdit::microseconds() const
{
    return TimeOfDayToMicroseconds(time());
}

void MyQTimeEdit::setMicrosecondRange(qint64 minimum, qint64 maximum)
{
    const QTime lower = FieldTime(minimum);
    const QTime upper = FieldTime(maximum);
    setTimeRange(lower, upper < lower ? lower : upper);
}

QString MyQTimeEdit::SkinStyleSheet()
{
    const SkinPalette* skin = SkinPalette::instance();
    const QString background = skin->colorOf(QStringLiteral("rightbgcolor"));
    const QString fontSize = QString::number(Scaled(11));
    return QStringLiteral(
               "QTimeEdit{border: 1px solid #647585;padding-left:5px;background-color:") +
           background + QStringLiteral(";font-size:") + fontSize + QStringLiteral("px;color:") +
           skin->colorOf(QStringLiteral("txtcolor_main2")) + QStringLiteral(";}") +
           QStringLiteral("QTimeEdit:disabled{border: 1px solid "
                          "#647585;padding-left:5px;background-color:") +
           background + QStringLiteral(";font-size:") + fontSize +
           QStringLiteral("px;color:gray;}") +
           QStringLiteral("QTimeEdit::up-button{subcontrol-origin:border;subcontrol-position:top "
                          "right; width: 15px;border-width: 1px; border: 1px solid #647585; "
                          "border-bottom:none;background-color:") +
           background + QStringLiteral(";}") +
           QStringLiteral("QTimeEdit::down-button{subcontrol-origin:border;subcontrol-position:"
                          "bottom right; width: 15px;border-width: 1px; border: 1px solid "
                          "#647585;background-color:") +
           background + QStringLiteral(";}") + ArrowRule("up-arrow", "up1.png") +
           ArrowRule("down-arrow", "down1.png") + ArrowRule("up-arrow:hover", "up2.png") +
           ArrowRule("down-arrow:hover", "down2.png") + ArrowRule("up-arrow:pressed", "up3.png") +
           ArrowRule("down-arrow:pressed", "down3.png") +
           ArrowRule("up-arrow:disabled", "up4.png") +
           ArrowRule("down-arrow:disabled", "down4.png");
}

void MyQTimeEdit::ApplySkin()
{
    setStyleSheet(SkinStyleSheet());
}

void MyQTimeEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QTimeEdit::mouseReleaseEvent(event);
    // The toolkit reports finished editing only on Enter and on losing focus;
    // a click on a step arrow must take effect without either.
    emit editingFinished();
}

QValidator::State MyQTimeEdit::validate(QString& input, int& pos) const
{
    const QValidator::State state = QTimeEdit::validate(input, pos);
    if (state != QValidator::Invalid) {
        return state;
    }
    // The toolkit refuses a digit that would carry the time past a limit,
    // which leaves a half-typed section that then springs back to the old
    // value. A complete time is kept so that fixup() can pin it to the limit.
    const QTime typed = QTime::fromString(input, displayFormat());
    return typed.isValid() ? QValidator::Intermediate : QValidator::Invalid;
}

void MyQTimeEdit::fixup(QString& input) const
{
    const QTime typed = QTime::fromString(input, displayFormat());
    if (typed.isValid() && typed > maximumTime()) {
        input = maximumTime().toString(displayFormat());
    } else if (typed.isValid() && typed < minimumTime()) {
        input = minimumTime().toString(displayFormat());
    } else {
        QTimeEdit::fixup(input);
    }
}
