#pragma once

#include <QTimer>
#include <QWidget>

class FindBar;
class RowFilterModel;
class StandardTableView;
class QAbstractItemModel;

// The page of a component editor: its table, and above it the find line (Ctrl+F shows it,
// Escape hides it) that keeps only the rows whose shown texts contain what is typed. Rows and
// indexes that the page gives out are the table model's own, whatever is shown.
class StandardTablePage : public QWidget
{
    Q_OBJECT

public:
    explicit StandardTablePage(QAbstractItemModel* model, QWidget* parent = nullptr);

    StandardTableView* view() const { return m_view; }
    FindBar* findBar() const { return m_findBar; }

    void openFind();
    // The find line is open and every row's texts are gathered.
    bool findReady() const;
    // The distinct rows of the model that hold a selected cell, ascending.
    QList<int> selectedRows() const;
    // The model's index of the current cell.
    QModelIndex currentIndex() const;
    // The view's index of a cell of the model; invalid while the find line hides its row.
    QModelIndex shownIndex(const QModelIndex& index) const;
    // The model's rows that the table shows from that row down, at most count of them.
    QList<int> shownRowsFrom(int row, int count) const;

    // A cell of the model as the table shows it.
    QString shownText(const QModelIndex& index) const;
    // Those rows as the table shows them: a line of column titles, then a line per row, cells
    // apart by tabs.
    QString plainText(const QList<int>& rows) const;

private:
    void find(const QString& text);
    void updateCount();
    void closeFind();

    QAbstractItemModel* const m_model;
    StandardTableView* m_view;
    FindBar* m_findBar;
    RowFilterModel* m_filter;
    QTimer m_gathering;
    static constexpr int GatheredPerSlice = 2000;
};
