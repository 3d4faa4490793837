#pragma once

#include <QTableView>

// The table of a component editor. Rows are one line high, so they get a fixed height: sizing
// every row to its contents would measure every row on each insert. Columns are sized to their
// contents once the table is first shown, so a hidden tab costs nothing.
class StandardTableView : public QTableView
{
public:
    explicit StandardTableView(QWidget* parent = nullptr);

    // The distinct rows that hold a selected cell, ascending.
    QList<int> selectedRows() const;

    static constexpr int sampledRows = 100;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateRowHeight();

    bool m_columnsSized = false;
};
