#include "commontableview.h"

#include "commoncontextmenu.h"
#include "commonmodel.h"
#include "commoneditwidget.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMessageBox>

#include <algorithm>

CommonTableView::CommonTableView(CommonEditWidget* page) : QTableView(page), m_menu(new CommonContextMenu(this)), m_page(page)
{
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Sizing a column to its contents looks at this many rows, not at a thousand.
    horizontalHeader()->setResizeContentsPrecision(sampledRows);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setWordWrap(false);

    // The menu's commands also answer their keys while the table has the focus.
    const QList<QPair<CommonContextMenu::Key, QKeySequence>> keys = {
        {CommonContextMenu::Add, QKeySequence(Qt::Key_Insert)},
        {CommonContextMenu::Remove, QKeySequence(QKeySequence::Delete)}};
    for (const auto& key : keys) {
        QAction* action = m_menu->action(key.first);
        action->setShortcut(key.second);
        action->setShortcutContext(Qt::WidgetShortcut);
        addAction(action);
    }
    connect(m_menu->action(CommonContextMenu::Add), &QAction::triggered, this, &CommonTableView::InsertRow);
    connect(m_menu->action(CommonContextMenu::Remove), &QAction::triggered, this, &CommonTableView::RemoveRow);
    connect(m_menu->action(CommonContextMenu::Clear), &QAction::triggered, this, &CommonTableView::ClearData);
}

void CommonTableView::fitRowsToContents()
{
    if (!model())
        return;
    int height = 0;
    const int rows = qMin(model()->rowCount(), sampledRows);
    for (int row = 0; row < rows; ++row)
        height = qMax(height, sizeHintForRow(row));
    if (height > 0)
        verticalHeader()->setDefaultSectionSize(height);
}

void CommonTableView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    m_menu->exec(event->globalPos());
}

namespace {

// The edits of one command are one step of the page's history.
class Step
{
public:
    Step(QAbstractItemModel* model, const QString& text) : m_model(qobject_cast<CommonModel*>(model))
    {
        if (m_model)
            m_model->beginStep(text);
    }
    ~Step()
    {
        if (m_model)
            m_model->endStep();
    }
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;

private:
    CommonModel* const m_model;
};

} // namespace

int CommonTableView::uidForNewRow(int* column)
{
    const int uid = m_page->newUid(column);
    if (uid == -1)
        QMessageBox::critical(this, window()->windowTitle(), tr("Не удалось получить UID!"), QMessageBox::Ok);
    return uid;
}

void CommonTableView::InsertRow()
{
    if (!model())
        return;
    const QModelIndex current = selectionModel()->currentIndex();
    int column = 0;
    const int uid = uidForNewRow(&column);
    if (uid == -1)
        return;
    const int row = current.row() + 1;
    const Step step(model(), tr("Добавление строки"));
    if (!model()->insertRows(row, 1, current.parent()))
        return;
    model()->setData(model()->index(row, column), QString::number(uid), Qt::EditRole);
    fitRowsToContents();
    scrollTo(model()->index(row, column));
}

void CommonTableView::AddRows(int count)
{
    if (!model())
        return;
    bool added = false;
    const Step step(model(), tr("Добавление строк (%1)").arg(count));
    for (int n = 0; n < count; ++n) {
        int column = 0;
        const int uid = uidForNewRow(&column);
        if (uid == -1)
            continue;
        const int row = model()->rowCount();
        if (!model()->insertRows(row, 1))
            return;
        model()->setData(model()->index(row, column), uid, Qt::EditRole);
        added = true;
    }
    if (!added)
        return;
    fitRowsToContents();
    scrollTo(model()->index(model()->rowCount() - 1, 0));
}

void CommonTableView::AddRow()
{
    AddRows(1);
}

void CommonTableView::RemoveRow()
{
    if (!model())
        return;
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty() || !m_page->confirmRemoval(rows))
        return;
    // From the bottom up, a run of neighbouring rows at a time, so that the rows still to go
    // keep their places.
    const Step step(model(), tr("Удаление строк (%1)").arg(rows.size()));
    while (!rows.isEmpty()) {
        const int last = rows.takeLast();
        int first = last;
        while (!rows.isEmpty() && rows.last() == first - 1)
            first = rows.takeLast();
        model()->removeRows(first, last - first + 1);
    }
}

void CommonTableView::ClearData()
{
    if (!model())
        return;
    const QModelIndexList cells = selectionModel()->selectedIndexes();
    int refused = 0;
    {
        const Step step(model(), tr("Очистить (%1 ячеек)").arg(cells.size()));
        for (const QModelIndex& cell : cells)
            refused += model()->setData(cell, QString(), Qt::EditRole) ? 0 : 1;
    }
    if (refused > 0)
        QMessageBox::warning(this, window()->windowTitle(),
                             tr("Не очищено ячеек: %1. Идентификатор, который уже есть у другой строки, "
                                "не может быть дан ещё одной.").arg(refused));
}
