#pragma once

#include <QItemDelegate>

// An item delegate that draws and measures the text of a plain cell (one line that fits, no icon
// nor check box) from laid-out texts kept between paints, as it would draw and measure it anew.
class CellItemDelegate : public QItemDelegate
{
public:
    using QItemDelegate::QItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void drawDisplay(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect,
                     const QString& text) const override;
};
