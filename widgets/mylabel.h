#pragma once

#include <QLabel>

// A label that reports a mouse release (of any button) as a click. The
// release is still handed on to the parent, so a label placed on a button
// does not swallow the button's own mouse handling.
class MyLabel : public QLabel
{
    Q_OBJECT

public:
    explicit MyLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
