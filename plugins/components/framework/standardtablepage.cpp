#include "standardtablepage.h"

#include "findbar.h"
#include "rowfiltermodel.h"
#include "standardtableview.h"

#include <QItemSelectionModel>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

StandardTablePage::StandardTablePage(QAbstractItemModel* model, QWidget* parent)
    : QWidget(parent), m_model(model), m_view(new StandardTableView(this)), m_findBar(new FindBar(this)),
      m_filter(new RowFilterModel([this](const QModelIndex& index) { return shownText(index); }, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_findBar);
    layout->addWidget(m_view, 1);
    m_findBar->hide();
    m_view->setModel(model);

    m_gathering.setInterval(0);
    connect(&m_gathering, &QTimer::timeout, this, [this] {
        if (m_filter->gatherTexts(GatheredPerSlice))
            m_gathering.stop();
    });
    // Texts that a change or a reload made the filter forget are gathered again while idle.
    connect(m_filter, &RowFilterModel::textsForgotten, &m_gathering, qOverload<>(&QTimer::start));
    auto* shortcut = new QShortcut(QKeySequence::Find, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, &StandardTablePage::openFind);
    connect(m_findBar, &FindBar::textChanged, this, &StandardTablePage::find);
    connect(m_findBar, &FindBar::closed, this, &StandardTablePage::closeFind);
    connect(m_findBar, &FindBar::leave, m_view, [this] { m_view->setFocus(Qt::OtherFocusReason); });
    // The filter tells of its own rows after the model's signal; the count follows both.
    for (QAbstractItemModel* counted : {model, static_cast<QAbstractItemModel*>(m_filter)}) {
        for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(counted, signal, this, &StandardTablePage::updateCount);
        connect(counted, &QAbstractItemModel::modelReset, this, &StandardTablePage::updateCount);
    }
}

void StandardTablePage::openFind()
{
    // The rows' texts are gathered while the engineer starts to type, a slice at a time, so that
    // the line opens at once and each key only searches; a key that comes first gathers the rest.
    if (!m_filter->sourceModel()) {
        m_filter->setSourceModel(m_model);
        m_gathering.start();
    }
    updateCount();
    m_findBar->open();
}

bool StandardTablePage::findReady() const
{
    return m_findBar->isVisibleTo(this) && !m_gathering.isActive();
}

void StandardTablePage::closeFind()
{
    find(QString());
    // A closed line costs the table nothing.
    m_gathering.stop();
    m_filter->setSourceModel(nullptr);
    m_view->setFocus(Qt::OtherFocusReason);
}

void StandardTablePage::find(const QString& text)
{
    // With no text the table shows its model itself.
    QAbstractItemModel* wanted = text.isEmpty() ? m_model : static_cast<QAbstractItemModel*>(m_filter);
    if (!m_filter->sourceModel())
        m_filter->setSourceModel(m_model);
    m_filter->setFilterText(text);
    if (m_view->model() != wanted) {
        QItemSelectionModel* selection = m_view->selectionModel();
        m_view->setModel(wanted);
        delete selection; // the view does not
    }
    updateCount();
}

void StandardTablePage::updateCount()
{
    m_findBar->setCount(m_view->model()->rowCount(), m_model->rowCount());
}

QList<int> StandardTablePage::selectedRows() const
{
    QList<int> rows = m_view->selectedRows();
    if (m_view->model() == m_filter) {
        for (int& row : rows)
            row = m_filter->sourceRow(row);
        std::sort(rows.begin(), rows.end()); // the filter keeps the order; kept sure all the same
    }
    return rows;
}

QModelIndex StandardTablePage::currentIndex() const
{
    const QModelIndex current = m_view->currentIndex();
    return m_view->model() == m_filter ? m_filter->mapToSource(current) : current;
}

QModelIndex StandardTablePage::shownIndex(const QModelIndex& index) const
{
    return m_view->model() == m_filter ? m_filter->mapFromSource(index) : index;
}

QList<int> StandardTablePage::shownRowsFrom(int row, int count) const
{
    QList<int> rows;
    const bool filtered = m_view->model() == m_filter;
    const int first = filtered ? shownIndex(m_model->index(row, 0)).row() : row;
    if (first < 0)
        return rows;
    const int last = qMin(m_view->model()->rowCount(), first + count);
    rows.reserve(qMax(0, last - first));
    for (int shown = first; shown < last; ++shown)
        rows.append(filtered ? m_filter->sourceRow(shown) : shown);
    return rows;
}

QString StandardTablePage::shownText(const QModelIndex& index) const
{
    const QVariant value = index.data(Qt::DisplayRole);
    auto* delegate = qobject_cast<QStyledItemDelegate*>(m_view->itemDelegateForColumn(index.column()));
    if (!delegate)
        delegate = qobject_cast<QStyledItemDelegate*>(m_view->itemDelegate());
    return delegate ? delegate->displayText(value, m_view->locale()) : value.toString();
}

QString StandardTablePage::plainText(const QList<int>& rows) const
{
    // Tabs and line breaks inside a cell would split it; they become spaces.
    const auto cell = [](QString text) {
        for (QChar& c : text) {
            if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                c = QLatin1Char(' ');
        }
        return text;
    };
    const int columns = m_model->columnCount();
    QStringList line;
    QString text;
    for (int column = 0; column < columns; ++column)
        line.append(cell(m_model->headerData(column, Qt::Horizontal).toString()));
    text += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const int row : rows) {
        line.clear();
        for (int column = 0; column < columns; ++column)
            line.append(cell(shownText(m_model->index(row, column))));
        text += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}
