#include "textpaste.h"

#include "booldelegate.h"
#include "celltext.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QSize>
#include <QStyleOptionViewItem>

#include <memory>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("TextPaste", text);
}

// How one column reads a cell's text.
class ColumnReader
{
public:
    ColumnReader(const QAbstractItemView* view, int column) : m_title(view->model()->headerData(column, Qt::Horizontal).toString())
    {
        const QAbstractItemModel* model = view->model();
        const QModelIndex sample = model->index(0, column);
        m_type = sample.isValid() ? sample.data(Qt::EditRole).typeId() : QMetaType::QString;
        QAbstractItemDelegate* delegate = view->itemDelegateForColumn(column);
        if (!delegate)
            return;
        m_delegated = true;
        // A column edited with a combo box takes the texts it offers.
        std::unique_ptr<QWidget> editor(delegate->createEditor(view->viewport(), QStyleOptionViewItem(), sample));
        if (auto* combo = qobject_cast<QComboBox*>(editor.get())) {
            for (int item = 0; item < combo->count(); ++item)
                m_options.append({combo->itemText(item), combo->itemData(item)});
        }
    }

    const QString& title() const { return m_title; }

    // The value, or a problem in *problem.
    QVariant read(const QString& raw, QString* problem) const
    {
        const QString text = raw.trimmed();
        if (m_delegated && m_options.isEmpty()) {
            *problem = tr("этот столбец из текста не вставляется");
            return QVariant();
        }
        if (!m_options.isEmpty())
            return choose(text, problem);
        if (m_type == QMetaType::Int || m_type == QMetaType::UInt || m_type == QMetaType::LongLong) {
            bool ok = false;
            const int number = text.toInt(&ok);
            if (!ok)
                *problem = tr("не число: «%1»").arg(text);
            return number;
        }
        if (m_type == QMetaType::Double) {
            bool ok = false;
            const double number = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            if (!ok)
                *problem = tr("не число: «%1»").arg(text);
            return number;
        }
        return raw;
    }

private:
    QVariant choose(const QString& text, QString* problem) const
    {
        int found = -1;
        int matches = 0;
        for (int i = 0; i < m_options.size(); ++i) {
            if (m_options.at(i).first == text) {
                found = i;
                ++matches;
            }
        }
        if (matches > 1) {
            *problem = tr("«%1» называет несколько записей").arg(text);
            return QVariant();
        }
        if (matches == 1)
            return m_options.at(found).second;
        bool ok = false;
        const bool yes = boolFromCell(text, &ok);
        if (ok && m_options.size() == 2 && m_options.at(0).second.typeId() == QMetaType::Bool)
            return yes;
        // A reference by its uid.
        const int uid = text.toInt(&ok);
        for (int i = 0; ok && i < m_options.size(); ++i) {
            const QVariant& value = m_options.at(i).second;
            if ((value.typeId() == QMetaType::QSize && value.toSize().width() == uid) || (value.typeId() == QMetaType::Int && value.toInt() == uid))
                return value;
        }
        *problem = tr("нет такого значения: «%1»").arg(text);
        return QVariant();
    }

    QString m_title;
    int m_type = QMetaType::QString;
    bool m_delegated = false;
    QList<QPair<QString, QVariant>> m_options;
};

} // namespace

TextPaste TextPaste::read(const QString& text, const QAbstractItemView* view, const QModelIndex& current, int uidColumn)
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
        paste.firstRow = current.isValid() ? current.row() : model->rowCount();
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
                reader = std::make_shared<ColumnReader>(view, column);
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
