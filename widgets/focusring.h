#pragma once

#include <QWidget>

class QKeyEvent;

// The keyboard focus mark of the program's drawn buttons, which the
// toolkit's style does not paint: an outline over the button while it has
// the focus. Attach makes the button a Tab stop as well.
class FocusRing : public QWidget
{
    Q_OBJECT

public:
    // The ring belongs to `target` and follows its size and focus.
    static FocusRing* attach(QWidget* target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit FocusRing(QWidget* target);

    QWidget* m_target = nullptr;
};

// Space, Enter or Return without modifiers: what presses a focused button.
bool IsPressKey(const QKeyEvent* event);
