#include "componentuidvalidator.h"

#include <QAbstractProxyModel>
#include <QSize>

namespace {

// The cell of the table model itself: a filtered view shows only some of its rows, and every
// row counts.
QModelIndex modelCell(QModelIndex cell)
{
    while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(cell.model()))
        cell = proxy->mapToSource(cell);
    return cell;
}

bool onlyDigits(const QString& text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

ComponentUidValidator::ComponentUidValidator(const QModelIndex& cell, QObject* parent)
    : QValidator(parent), m_cell(modelCell(cell))
{
}

QValidator::State ComponentUidValidator::validate(QString& input, int&) const
{
    if (!onlyDigits(input))
        return Invalid;
    return problem(input).isEmpty() ? Acceptable : Intermediate;
}

QString ComponentUidValidator::problem(const QString& text) const
{
    bool converted = false;
    const int uid = text.toInt(&converted, 10);
    if (text.isEmpty() || !onlyDigits(text) || !converted)
        return tr("Идентификатор: целое число от 0 до 2147483647");
    if (heldByAnotherRow(uid))
        return tr("Идентификатор %1 уже есть в таблице").arg(uid);
    return QString();
}

bool ComponentUidValidator::heldByAnotherRow(int uid) const
{
    const QAbstractItemModel* model = m_cell.model();
    if (!model)
        return false;
    const int rows = model->rowCount();
    for (int row = 0; row < rows; ++row) {
        if (row != m_cell.row() && model->index(row, m_cell.column()).data(Qt::EditRole).toSize().width() == uid)
            return true;
    }
    return false;
}
