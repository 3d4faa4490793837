#include "celltextstyle.h"

#include "celllayouts.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionViewItem>
#include <QTextLayout>

namespace {

constexpr auto extras = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;

// A cell whose text alone is drawn, over the whole cell, with no editor frame nor focus rect.
bool isPlainCell(const QStyleOptionViewItem& option)
{
    return (option.features & QStyleOptionViewItem::HasDisplay) && !(option.features & extras)
        && option.showDecorationSelected && option.direction == Qt::LeftToRight
        && (option.decorationPosition == QStyleOptionViewItem::Left
            || option.decorationPosition == QStyleOptionViewItem::Right)
        && !(option.state & (QStyle::State_HasFocus | QStyle::State_Editing)) && !option.text.isEmpty();
}

} // namespace

CellTextStyle* CellTextStyle::instance()
{
    static QPointer<CellTextStyle> style;
    if (!style) {
        style = new CellTextStyle;
        style->setParent(qApp);
    }
    return style;
}

void CellTextStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
    if (element != CE_ItemViewItem || !item || !isPlainCell(*item)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // As the common style lays out a cell's text: the cell less a margin on each side, one line
    // placed by the alignment.
    const int margin = pixelMetric(PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = item->rect.adjusted(margin, 0, -margin, 0);
    const QTextLayout* layout = CellLayouts::line(item->text, item->font, CellLayouts::textOption(*item), textRect.width());
    if (!layout || layout->lineAt(0).naturalTextWidth() > textRect.width()) {
        QProxyStyle::drawControl(element, option, painter, widget); // elided or on several lines
        return;
    }
    painter->save();
    painter->setClipRegion(painter->hasClipping() ? painter->clipRegion() & item->rect : QRegion(item->rect));
    drawPrimitive(PE_PanelItemViewItem, item, painter, widget);
    const QPalette::ColorGroup group = CellLayouts::colorGroup(item->state);
    painter->setPen(item->palette.color(group, item->state & State_Selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, item->displayAlignment,
                                             layout->boundingRect().size().toSize(), textRect);
    layout->draw(painter, QPointF(textRect.x(), placed.top()));
    painter->restore();
}

QSize CellTextStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                      const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
    if (type != CT_ItemViewItem || !item || (item->features & extras) || !size.isEmpty())
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    // Wrapped text is measured in the width of the cell less its margins.
    const int kind = int(item->features) | item->decorationPosition << 16;
    const int width = item->features & QStyleOptionViewItem::WrapText && item->rect.isValid() ? item->rect.width() : -1;
    return CellLayouts::size(item->text, item->font, kind, width, [&] {
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    });
}
