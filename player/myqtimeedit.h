#pragma once

#include <QString>
#include <QTimeEdit>
#include <QtGlobal>

class QMouseEvent;

// The field in which the user types or steps one end of the cut range with
// millisecond precision. Its owner commits the value whenever the field
// reports editingFinished(); every mouse release counts as finished editing
// too, so a click on a step arrow takes effect at once.
//
// Typing a time past a limit and finishing the edit leaves the field at that
// limit: typing beyond the end of the file means "the end".
//
// A clock-time field cannot hold 24 hours or more: such times are shown as
// the last millisecond of the day, so the field stays usable and a limit
// beyond it simply does not restrict the user.
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

    void setMicroseconds(qint64 microseconds);
    qint64 microseconds() const;
    // Minimum and maximum together; a maximum below the minimum is raised to it.
    void setMicrosecondRange(qint64 minimum, qint64 maximum);

    // The style sheet for the current scale factor and skin.
    static QString SkinStyleSheet();
    void ApplySkin();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A whole time typed beyond a limit is held as unfinished input instead of
    // being refused keystroke by keystroke; finishing the edit then moves it
    // to the nearest limit.
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};
