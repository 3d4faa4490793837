#include "cellitemdelegate.h"

#include "celllayouts.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>
#include <QWidget>

namespace {

// Apart from the style's kinds of measure, which are item view features.
constexpr int itemDelegateSize = 1 << 30;

} // namespace

QSize CellItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant text = index.data(Qt::DisplayRole);
    if (text.userType() != QMetaType::QString || index.data(Qt::SizeHintRole).isValid()
        || index.data(Qt::DecorationRole).isValid() || index.data(Qt::CheckStateRole).isValid()
        || index.data(Qt::FontRole).isValid())
        return QItemDelegate::sizeHint(option, index);
    // Wrapped text is measured in the width of the cell.
    const int width = option.features & QStyleOptionViewItem::WrapText && option.rect.isValid() ? option.rect.width() : -1;
    return CellLayouts::size(text.toString(), option.font, itemDelegateSize | option.decorationPosition | int(option.features) << 8,
                             width, [&] { return QItemDelegate::sizeHint(option, index); });
}

void CellItemDelegate::drawDisplay(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect,
                                   const QString& text) const
{
    // As the item delegate lays out a cell's text: the cell less a margin on each side, one line
    // placed by the alignment.
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = rect.adjusted(margin, 0, -margin, 0);
    QTextOption textOption;
    textOption.setWrapMode(option.features & QStyleOptionViewItem::WrapText ? QTextOption::WordWrap : QTextOption::ManualWrap);
    textOption.setTextDirection(option.direction);
    textOption.setAlignment(QStyle::visualAlignment(option.direction, option.displayAlignment));
    const QTextLayout* layout = text.isEmpty() || (option.state & QStyle::State_Editing) || text.contains(QLatin1Char('\n'))
        ? nullptr
        : CellLayouts::line(text, option.font, textOption, textRect.width());
    const QSizeF laidOut = layout ? layout->boundingRect().size() : QSizeF();
    if (!layout || layout->lineAt(0).naturalTextWidth() > textRect.width() || laidOut.height() > textRect.height()) {
        QItemDelegate::drawDisplay(painter, option, rect, text); // elided, or not one plain line
        return;
    }
    QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
        group = QPalette::Inactive;
    if (option.state & QStyle::State_Selected) {
        painter->fillRect(rect, option.palette.brush(group, QPalette::Highlight));
        painter->setPen(option.palette.color(group, QPalette::HighlightedText));
    } else {
        painter->setPen(option.palette.color(group, QPalette::Text));
    }
    const QRect placed = QStyle::alignedRect(option.direction, option.displayAlignment,
                                             QSize(textRect.width(), int(laidOut.height())), textRect);
    layout->draw(painter, placed.topLeft(), {}, placed);
}
