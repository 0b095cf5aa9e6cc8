#include "widgets/focusring.h"

#include <QKeyEvent>
#include <QPainter>

FocusRing* FocusRing::attach(QWidget* target)
{
    if (auto* existing = target->findChild<FocusRing*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new FocusRing(target);
}

FocusRing::FocusRing(QWidget* target) : QWidget(target), m_target(target)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    target->setFocusPolicy(Qt::TabFocus);
    target->installEventFilter(this);
    setGeometry(target->rect());
    setVisible(target->hasFocus());
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Resize:
            setGeometry(m_target->rect());
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            setVisible(m_target->hasFocus());
            // Above whatever the button put over itself since.
            raise();
            break;
        default:
            break;
        }
    }
    return false;
}

void FocusRing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The light blue of the program's hover looks, visible on dark and light.
    QPen pen(QColor(0x00, 0xa1, 0xe9));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
}

bool IsPressKey(const QKeyEvent* event)
{
    const int key = event->key();
    return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
