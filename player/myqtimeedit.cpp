#include "player/myqtimeedit.h"
#include "widgets/stylesheet.h"

#include "app/timetext.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>

#include <utility>

namespace {

QString ArrowRule(const char* selector, const char* image)
{
    return QStringLiteral("QTimeEdit::") + QLatin1String(selector) +
           QStringLiteral("{subcontrol-origin:border;subcontrol-position:center; width: "
                          "15px;height: 10px; border-image:url(:/images/arrow/") +
           QLatin1String(image) + QStringLiteral(");}");
}

// The section that holds text position `pos`: every section of the field is
// a run of digits, so the separators before `pos` count the sections.
int SectionIndexAt(const QString& text, int pos)
{
    int index = 0;
    for (int i = 0; i < pos && i < text.size(); ++i) {
        if (!text.at(i).isDigit())
            ++index;
    }
    return index;
}

QString SectionText(const QString& text, int index)
{
    static const QRegularExpression separator(QStringLiteral("\\D"));
    return text.split(separator).value(index);
}

// How many digits section `index` of a display format such as "hh:mm:ss.zzz"
// holds when complete.
int SectionWidth(const QString& format, int index)
{
    static const QRegularExpression separator(QStringLiteral("[^A-Za-z]"));
    return int(format.split(separator).value(index).size());
}

// The separator in front of section `index` of a display format.
QString SeparatorBefore(const QString& format, int index)
{
    static const QRegularExpression letters(QStringLiteral("[A-Za-z]+"));
    return format.split(letters).value(index);
}

} // namespace

MyQTimeEdit::MyQTimeEdit(QWidget* parent) : QTimeEdit(parent)
{
    setDisplayFormat(QStringLiteral("hh:mm:ss.zzz"));
    setTimeRange(QTime(0, 0), LatestTime());
    // Connected before any owner can connect, so whoever commits on finished
    // editing already reads a time within the range.
    connect(this, &QAbstractSpinBox::editingFinished, this, &MyQTimeEdit::settleWithinRange);
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
    const QTime exact = FieldTime(microseconds);
    const QTime shown = withinRange(exact);
    m_given = shown == exact ? qMax<qint64>(0, microseconds) : TimeOfDayToMicroseconds(shown);
    m_givenShown = shown;
    setTime(shown);
}

qint64 MyQTimeEdit::microseconds() const
{
    // A field confirmed without a change hands back what it was given, not
    // what it could show: the sub-millisecond part, and times of a day or
    // more (shown as the last millisecond of the day), survive.
    return time() == m_givenShown ? m_given : TimeOfDayToMicroseconds(time());
}

void MyQTimeEdit::setMicrosecondRange(qint64 minimum, qint64 maximum)
{
    m_minimum = FieldTime(minimum);
    m_maximum = qMax(FieldTime(maximum), m_minimum);
    settleWithinRange();
}

QTime MyQTimeEdit::withinRange(const QTime& time) const
{
    return qBound(m_minimum, time, m_maximum);
}

void MyQTimeEdit::settleWithinRange()
{
    const QTime settled = withinRange(time());
    if (settled != time())
        setTime(settled);
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
    SetStyleSheet(this, SkinStyleSheet());
}

void MyQTimeEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QTimeEdit::mouseReleaseEvent(event);
    // The toolkit reports finished editing only on Enter and on losing focus;
    // a click on a step arrow must take effect without either.
    emit editingFinished();
}

void MyQTimeEdit::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool typed =
        text.size() == 1 && !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    const bool digit = typed && text.at(0).isDigit();
    const int advancedTo = std::exchange(m_advancedTo, -1);
    // A digit that completes a section moves on to the next one by itself;
    // the separator typed after it, as in "01:58:05.000", only confirms that
    // move and must not skip a further section.
    if (typed && !digit && advancedTo >= 0 && advancedTo == currentSectionIndex() &&
        text == SeparatorBefore(displayFormat(), advancedTo)) {
        event->accept();
        return;
    }
    if (!digit) {
        QTimeEdit::keyPressEvent(event);
        return;
    }
    aimDigitAtSection();
    const int before = currentSectionIndex();
    QTimeEdit::keyPressEvent(event);
    if (currentSectionIndex() > before)
        m_advancedTo = currentSectionIndex();
}

void MyQTimeEdit::aimDigitAtSection()
{
    // The toolkit takes a digit only where it keeps the text a time: over a
    // selected section, or into a section that is still short of digits. A
    // digit typed over the whole text (select all, then type a time) or at a
    // bare cursor inside a complete section (after a click) would be dropped,
    // and the separators typed next would carry the rest of the time into
    // the wrong sections.
    const QLineEdit* edit = lineEdit();
    const QString text = edit->text();
    const bool selected = edit->hasSelectedText();
    const int from = selected ? edit->selectionStart() : edit->cursorPosition();
    const int index = SectionIndexAt(text, from);
    if (index >= sectionCount())
        return;
    if (selected && SectionIndexAt(text, edit->selectionEnd()) == index)
        return;
    if (!selected && SectionText(text, index).size() < SectionWidth(displayFormat(), index))
        return;
    setSelectedSection(sectionAt(index));
}

void MyQTimeEdit::stepBy(int steps)
{
    QTimeEdit::stepBy(steps);
    settleWithinRange();
}

QAbstractSpinBox::StepEnabled MyQTimeEdit::stepEnabled() const
{
    StepEnabled enabled = QTimeEdit::stepEnabled();
    if (time() >= m_maximum)
        enabled &= ~StepUpEnabled;
    if (time() <= m_minimum)
        enabled &= ~StepDownEnabled;
    return enabled;
}
