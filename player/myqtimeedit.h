#pragma once

#include <QString>
#include <QTimeEdit>
#include <QtGlobal>

class QKeyEvent;
class QMouseEvent;

// The field in which the user types or steps one end of the cut range with
// millisecond precision. Its owner commits the value whenever the field
// reports editingFinished(); every mouse release counts as finished editing
// too, so a click on a step arrow takes effect at once.
//
// The cut range is kept by this class, not by the toolkit's own minimum and
// maximum: the toolkit checks every half-typed time against those and drops
// digits that could not lead inside them, so a time could not be typed over
// an old one. Typing is free within the day; when editing finishes, a time
// outside the range settles at the nearest end of it (typing beyond the end
// of the file means "the end"). Steps never leave the range.
//
// A clock-time field cannot hold 24 hours or more: such times are shown as
// the last millisecond of the day, so the field stays usable and a limit
// beyond it simply does not restrict the user. Until the user changes the
// shown time, microseconds() is exactly what setMicroseconds() was given, so
// confirming an untouched field never moves the range.
class MyQTimeEdit : public QTimeEdit
{
    Q_OBJECT

public:
    explicit MyQTimeEdit(QWidget* parent = nullptr);

    // The latest time the field can show, 23:59:59.999.
    static QTime LatestTime();
    // A microsecond count as the field's time: negative counts as 0, the
    // sub-millisecond part is dropped, 24 hours or more become LatestTime().
    static QTime FieldTime(qint64 microseconds);

    // Shows `microseconds`, kept within the range.
    void setMicroseconds(qint64 microseconds);
    qint64 microseconds() const;
    // Minimum and maximum together; a maximum below the minimum is raised to
    // it. A time outside the new range moves to its nearest end.
    void setMicrosecondRange(qint64 minimum, qint64 maximum);

    // The style sheet for the current scale factor and skin.
    static QString SkinStyleSheet();
    void ApplySkin();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;

private:
    QTime withinRange(const QTime& time) const;
    void settleWithinRange();
    // Makes the next typed digit replace the section the user points at.
    void aimDigitAtSection();

    QTime m_minimum = QTime(0, 0);
    QTime m_maximum = LatestTime();
    // The section a typed digit has just moved on to, or -1.
    int m_advancedTo = -1;
    // What setMicroseconds() was given and the time it showed for it.
    qint64 m_given = 0;
    QTime m_givenShown = QTime(0, 0);
};
