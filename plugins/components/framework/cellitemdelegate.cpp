#include "cellitemdelegate.h"

#include "celllayouts.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include <climits>
#include <QWidget>

namespace {

// Apart from the style's kinds of measure, which are item view features.
constexpr int itemDelegateSize = 1 << 30;
// The width Qt lays a text out in when nothing bounds it.
constexpr int unbounded = INT_MAX / 256;

} // namespace

void CellItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The item delegate's own paint, for a text alone, with the text's bounds from the kept
    // layout: no check box, no icon, no line breaks.
    const QVariant display = index.data(Qt::DisplayRole);
    if (display.userType() != QMetaType::QString || index.data(Qt::DecorationRole).isValid()
        || index.data(Qt::CheckStateRole).isValid() || display.toString().contains(QLatin1Char('\n'))) {
        QItemDelegate::paint(painter, option, index);
        return;
    }
    const QStyleOptionViewItem opt = setOptions(index, option);
    const QString text = display.toString();
    QRect displayRect;
    if (!display.isNull()) {
        // As the item delegate bounds a text: wrapped in the cell's width, or not at all.
        const bool wrap = opt.features & QStyleOptionViewItem::WrapText;
        const int width = wrap && opt.rect.isValid() && opt.decorationPosition <= QStyleOptionViewItem::Right
            ? opt.rect.width()
            : wrap ? opt.decorationSize.width()
                   : unbounded;
        QTextOption wrapped;
        wrapped.setWrapMode(QTextOption::WordWrap);
        const QTextLayout* layout = CellLayouts::line(text, opt.font, wrapped, width);
        if (!layout) {
            QItemDelegate::paint(painter, option, index); // more than one line
            return;
        }
        const QTextLine line = layout->lineAt(0);
        const int margin = QApplication::style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr) + 1;
        displayRect = QRect(0, 0, qCeil(line.naturalTextWidth()) + 2 * margin, qCeil(line.height()));
    }
    painter->save();
    if (hasClipping())
        painter->setClipRect(opt.rect);
    QRect checkRect;
    QRect decorationRect;
    doLayout(opt, &checkRect, &decorationRect, &displayRect, false);
    drawBackground(painter, opt, index);
    drawDisplay(painter, opt, displayRect, text);
    drawFocus(painter, opt, displayRect);
    painter->restore();
}

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
    const QTextLayout* layout = text.isEmpty() || (option.state & QStyle::State_Editing) || text.contains(QLatin1Char('\n'))
        ? nullptr
        : CellLayouts::line(text, option.font, CellLayouts::textOption(option), textRect.width());
    const QSizeF laidOut = layout ? layout->boundingRect().size() : QSizeF();
    if (!layout || layout->lineAt(0).naturalTextWidth() > textRect.width() || laidOut.height() > textRect.height()) {
        QItemDelegate::drawDisplay(painter, option, rect, text); // elided, or not one plain line
        return;
    }
    const QPalette::ColorGroup group = CellLayouts::colorGroup(option.state);
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
