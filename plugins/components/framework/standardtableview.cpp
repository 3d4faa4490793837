#include "standardtableview.h"

#include "celltextstyle.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

StandardTableView::StandardTableView(QWidget* parent) : QTableView(parent)
{
    setStyle(CellTextStyle::instance());
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Column widths follow the rows on screen and a few around them, not the whole table.
    horizontalHeader()->setResizeContentsPrecision(sampledRows);
    // Numbers here are ports, indices and the like, shown and found as typed: 5001, not 5 001.
    QLocale numbers = locale();
    numbers.setNumberOptions(numbers.numberOptions() | QLocale::OmitGroupSeparator);
    setLocale(numbers);
    updateRowHeight();
}

QList<int> StandardTableView::selectedRows() const
{
    QList<int> rows;
    if (!selectionModel())
        return rows;
    // Walk the selection's ranges rather than its indexes: a range of a whole column is one
    // entry however many rows it spans.
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange& range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void StandardTableView::showEvent(QShowEvent* event)
{
    if (!m_columnsSized) {
        m_columnsSized = true;
        horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    }
    QTableView::showEvent(event);
}

void StandardTableView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateRowHeight();
    QTableView::changeEvent(event);
}

void StandardTableView::updateRowHeight()
{
    // The height that sizing a one-line row to its contents would give.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("Xg");
    const int hint = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height();
    verticalHeader()->setDefaultSectionSize(qMax(hint, verticalHeader()->minimumSectionSize()));
}
