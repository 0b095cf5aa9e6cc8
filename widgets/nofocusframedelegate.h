#pragma once

#include <QStyledItemDelegate>

// Paints list items like the styled delegate, but without the dotted focus
// rectangle, which looks out of place on the dark, hand-drawn lists.
class NoFocusFrameDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit NoFocusFrameDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
