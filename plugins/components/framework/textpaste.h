#pragma once

#include <QList>
#include <QModelIndex>
#include <QPair>
#include <QStringList>
#include <QVariant>

class QAbstractItemView;
class StandardData;

// Text pasted into a component table, read cell by cell as the engineer would type it, before
// anything is changed: a line of column titles (all or some, in any order) makes each further
// line a new row; text without one is a block of cells from the current cell rightwards and
// down. Each column reads its cells with its own reader (ColumnBinding::textReader).
struct TextPaste
{
    using Cells = QList<QPair<int, QVariant>>; // column, value for its edit role

    bool titled = false;   // every line is a new row
    int firstRow = 0;      // without titles: the row of the first line
    QList<Cells> lines;
    QStringList problems;  // at most maxProblems, by line and column
    int otherProblems = 0;
    static constexpr int maxProblems = 20;

    // view: the table, for its titles and columns' delegates; data: the columns' readers;
    // uidColumn: the records' own uid, never pasted.
    static TextPaste read(const QString& text, const QAbstractItemView* view, const StandardData& data,
                          const QModelIndex& current, int uidColumn);
    // The problems as a message, the count of the rest after them.
    QString problemText() const;
};
