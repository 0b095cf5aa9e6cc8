#include "widgets/mylabel.h"

MyLabel::MyLabel(QWidget* parent) : QLabel(parent) {}

void MyLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    emit clicked();
}
