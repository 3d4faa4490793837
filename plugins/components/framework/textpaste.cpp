#include "textpaste.h"

#include "celltext.h"
#include "standarddata.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <memory>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("TextPaste", text);
}

// How one column reads a cell's text: through the column's own reader, else as typed; a column
// with an editor of its own and no reader takes no text.
class ColumnReader
{
public:
    ColumnReader(const QAbstractItemView* view, const StandardData& data, int column)
        : m_title(view->model()->headerData(column, Qt::Horizontal).toString()), m_own(data.cellReader(column)),
          m_refused(!m_own && view->itemDelegateForColumn(column))
    {
    }

    const QString& title() const { return m_title; }

    // The value, or a problem in *problem.
    QVariant read(const QString& raw, QString* problem) const
    {
        if (m_own)
            return m_own(raw.trimmed(), problem);
        if (m_refused)
            *problem = tr("этот столбец из текста не вставляется");
        return raw;
    }

private:
    QString m_title;
    CellReader m_own;
    bool m_refused;
};

} // namespace

TextPaste TextPaste::read(const QString& text, const QAbstractItemView* view, const StandardData& data,
                          const QModelIndex& current, int uidColumn)
{
    TextPaste paste;
    const QAbstractItemModel* model = view->model();
    QList<QStringList> rows = parseCellText(text);
    if (rows.isEmpty())
        return paste;

    QHash<QString, int> columnOf;
    for (int column = 0; column < model->columnCount(); ++column)
        columnOf.insert(model->headerData(column, Qt::Horizontal).toString(), column);
    QList<int> columns;
    paste.titled = std::all_of(rows.first().cbegin(), rows.first().cend(),
                               [&](const QString& cell) { return columnOf.contains(cell.trimmed()); });
    if (paste.titled) {
        for (const QString& title : rows.takeFirst())
            columns << columnOf.value(title.trimmed());
    } else {
        const int first = current.isValid() ? current.column() : 0;
        for (int column = first; column < model->columnCount(); ++column)
            columns << column;
        paste.firstRow = current.isValid() ? current.row() : data.rowCount();
    }

    QHash<int, std::shared_ptr<ColumnReader>> readers;
    const auto problem = [&paste](const QString& message) {
        if (paste.problems.size() < maxProblems)
            paste.problems << message;
        else
            ++paste.otherProblems;
    };
    for (int line = 0; line < rows.size(); ++line) {
        Cells cells;
        const QStringList& row = rows.at(line);
        for (int k = 0; k < row.size(); ++k) {
            if (k >= columns.size()) {
                problem(tr("строка %1: ячеек больше, чем столбцов").arg(line + 1 + (paste.titled ? 1 : 0)));
                break;
            }
            const int column = columns.at(k);
            if (column == uidColumn)
                continue; // a row keeps its uid, a new row gets a fresh one
            auto& reader = readers[column];
            if (!reader)
                reader = std::make_shared<ColumnReader>(view, data, column);
            QString why;
            const QVariant value = reader->read(row.at(k), &why);
            if (!why.isEmpty())
                problem(tr("строка %1, столбец «%2»: %3").arg(line + 1 + (paste.titled ? 1 : 0)).arg(reader->title(), why));
            else
                cells.append({column, value});
        }
        paste.lines << cells;
    }
    return paste;
}

QString TextPaste::problemText() const
{
    QString text = tr("Ничего не вставлено:") + QLatin1Char('\n') + problems.join(QLatin1Char('\n'));
    if (otherProblems > 0)
        text += QLatin1Char('\n') + tr("и ещё %1").arg(otherProblems);
    return text;
}
