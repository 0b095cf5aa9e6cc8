#pragma once

#include <QWidget>

class QLabel;

// Shown by the media list in place of its rows while it holds none: a
// picture in the middle and a hint that files can be dropped here.
class ListNoItemWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ListNoItemWidget(QWidget* parent = nullptr);

    // Lays the children out for the current size, applies the skin colour
    // and sets the (translated) hint.
    void refreshGuide();

    QLabel* picture() const { return m_picture; }
    QLabel* hint() const { return m_hint; }

private:
    QWidget* m_frame = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_hint = nullptr;
};
