#pragma once

#include <QTableView>

class CommonContextMenu;
class CommonEditWidget;

// The table of a page: its context menu adds a row below the current one, removes the rows of
// the selected cells and clears the selected cells. Uids of new rows come from the page.
class CommonTableView : public QTableView
{
    Q_OBJECT

public:
    explicit CommonTableView(CommonEditWidget* page);

    CommonContextMenu* contextMenu() const { return m_menu; }
    // Rows are one line high (texts do not wrap), so they all take the height of the highest of
    // the first rows, and rows added later take it too: measuring every row of a large table
    // would cost seconds.
    void fitRowsToContents();

    static constexpr int sampledRows = 100;

public Q_SLOTS:
    void InsertRow();
    void RemoveRow();
    void ClearData();
    void AddRow();
    void AddRows(int count);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The page's uid for a new row and the column it goes into; -1 after telling the user.
    int uidForNewRow(int* column);

    CommonContextMenu* m_menu; // a child
    CommonEditWidget* const m_page;
};
