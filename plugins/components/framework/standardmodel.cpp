#include "standardmodel.h"

#include "standarddata.h"

#include <QUndoStack>

#include <algorithm>

StandardModel::StandardModel(StandardData* data, QObject* parent)
    : QAbstractTableModel(parent), m_data(data), m_columnCount(int(data->columns().size()))
{
}

int StandardModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_data->rowCount();
}

int StandardModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant StandardModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    return m_data->data(index.row(), index.column(), role);
}

bool StandardModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    const int row = index.row();
    const QVariant old = m_data->data(row, index.column(), Qt::EditRole);
    const std::any before = m_undo ? m_data->record(row) : std::any();
    const int uidBefore = m_data->uidAt(row);
    if (!m_data->setData(value, row, index.column(), role))
        return false;
    // Fill writes cells that have no editor open; they must repaint too.
    Q_EMIT dataChanged(index, index);
    // An editor committed unchanged is no step.
    if (m_undo && m_data->data(row, index.column(), Qt::EditRole) != old)
        push(RecordStep::Changed, tr("Изменение ячейки «%1»").arg(headerData(index.column(), Qt::Horizontal).toString()),
             {{row, uidBefore, m_data->uidAt(row), before, m_data->record(row)}});
    return true;
}

QVariant StandardModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    return m_data->columns().value(section).value(role);
}

Qt::ItemFlags StandardModel::flags(const QModelIndex&) const
{
    // Every cell is editable; the root answers the same (35), as the plugins' callers expect.
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

bool StandardModel::load(CoConfig::ComplexConfigInterface* store)
{
    // Rows that stay as they are keep the view's selection, scroll and column widths.
    if (m_data->keep(store)) {
        if (m_data->rowCount() > 0 && m_columnCount > 0)
            Q_EMIT dataChanged(index(0, 0), index(m_data->rowCount() - 1, m_columnCount - 1));
        return false;
    }
    beginResetModel();
    const bool changed = m_data->load(store);
    endResetModel();
    return changed;
}

void StandardModel::save(CoConfig::ComplexConfigInterface* store)
{
    m_data->save(store);
}

int StandardModel::freshUid()
{
    return m_data->freshUid();
}

bool StandardModel::appendRecord(int given)
{
    const int uid = given >= 0 ? given : m_data->freshUid();
    if (uid < 0)
        return false;
    const int row = m_data->rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_data->appendRecord(uid);
    endInsertRows();
    if (m_undo)
        push(RecordStep::Added, tr("Добавление строки"), {{row, uid, uid, std::any(), m_data->record(row)}});
    return true;
}

void StandardModel::removeRecords(const QList<int>& rows)
{
    QList<int> sorted;
    sorted.reserve(rows.size());
    const int rowCount = m_data->rowCount();
    for (const int row : rows) {
        if (row >= 0 && row < rowCount)
            sorted.append(row);
    }
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.isEmpty())
        return;
    QVector<RecordStep::Entry> entries;
    if (m_undo) {
        entries.reserve(sorted.size());
        for (const int row : std::as_const(sorted)) {
            const int uid = m_data->uidAt(row);
            entries.append({row, uid, uid, m_data->record(row), std::any()});
        }
    }
    removeSorted(sorted);
    if (m_undo)
        push(RecordStep::Removed, tr("Удаление строк (%1)").arg(sorted.size()), std::move(entries));
}

void StandardModel::removeSorted(const QList<int>& sorted)
{
    // Each contiguous run of rows is one removal.
    QList<qsizetype> runStarts;
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        if (i == 0 || sorted.at(i) != sorted.at(i - 1) + 1)
            runStarts.append(i);
    }
    // A view spends time in proportion to the whole table on every removal it is told of, so
    // many scattered runs are removed at once behind a reset instead.
    if (runStarts.size() > maxNotifiedRuns) {
        beginResetModel();
        m_data->removeRecords(sorted);
        endResetModel();
        return;
    }
    // From the highest run to the lowest, so the runs still to go keep their row numbers.
    qsizetype end = sorted.size();
    for (qsizetype k = runStarts.size() - 1; k >= 0; --k) {
        const qsizetype begin = runStarts.at(k);
        beginRemoveRows(QModelIndex(), sorted.at(begin), sorted.at(end - 1));
        m_data->removeRecords(sorted.mid(begin, end - begin));
        endRemoveRows();
        end = begin;
    }
}

void StandardModel::setColumnData(const QList<int>& rows, int column, const std::function<QVariant(int n)>& valueOf,
                                  const QString& step)
{
    if (column < 0 || column >= m_columnCount)
        return;
    // One notification: a view re-measures its columns on each, which costs per row filled.
    int top = -1;
    int bottom = -1;
    QVector<RecordStep::Entry> entries;
    for (int n = 0; n < rows.size(); ++n) {
        const int row = rows.at(n);
        if (row < 0 || row >= m_data->rowCount())
            continue;
        const std::any before = m_undo ? m_data->record(row) : std::any();
        const int uidBefore = m_data->uidAt(row);
        const QVariant old = m_undo ? m_data->data(row, column, Qt::EditRole) : QVariant();
        if (!m_data->setData(valueOf(n), row, column, Qt::EditRole))
            continue;
        top = top < 0 ? row : qMin(top, row);
        bottom = qMax(bottom, row);
        if (m_undo && m_data->data(row, column, Qt::EditRole) != old)
            entries.append({row, uidBefore, m_data->uidAt(row), before, m_data->record(row)});
    }
    if (top >= 0)
        Q_EMIT dataChanged(index(top, column), index(bottom, column));
    if (m_undo && !entries.isEmpty()) {
        const QString text = (step.isEmpty() ? tr("Заполнить (%1 ячеек)") : step).arg(entries.size());
        push(RecordStep::Changed, text, std::move(entries));
    }
}

void StandardModel::setCells(const QList<int>& rows, const QList<Cells>& lines, const QList<int>& uids, const QString& step)
{
    const int rowCount = m_data->rowCount();
    const int inPlace = int(qMin(lines.size(), rows.size()));
    const int appended = qMin(int(lines.size()) - inPlace, int(uids.size()));
    const auto write = [this](int row, const Cells& cells) {
        for (const auto& [column, value] : cells)
            m_data->setData(value, row, column, Qt::EditRole);
    };

    QVector<RecordStep::Entry> changed;
    if (m_undo)
        changed.reserve(inPlace);
    int top = rowCount;
    int bottom = -1;
    for (int k = 0; k < inPlace; ++k) {
        const int row = rows.at(k);
        if (row < 0 || row >= rowCount)
            continue;
        const int uidBefore = m_data->uidAt(row);
        std::any before = m_undo ? m_data->record(row) : std::any();
        write(row, lines.at(k));
        if (m_undo)
            changed.append({row, uidBefore, m_data->uidAt(row), std::move(before), m_data->record(row)});
        top = qMin(top, row);
        bottom = qMax(bottom, row);
    }
    if (bottom >= 0)
        Q_EMIT dataChanged(index(top, 0), index(bottom, m_columnCount - 1));

    QVector<RecordStep::Entry> added;
    if (appended > 0) {
        beginInsertRows(QModelIndex(), rowCount, rowCount + appended - 1);
        for (int k = 0; k < appended; ++k) {
            m_data->appendRecord(uids.at(k));
            write(rowCount + k, lines.at(inPlace + k));
        }
        endInsertRows();
        if (m_undo) {
            added.reserve(appended);
            for (int k = 0; k < appended; ++k)
                added.append({rowCount + k, uids.at(k), uids.at(k), std::any(), m_data->record(rowCount + k)});
        }
    }

    if (!m_undo || (changed.isEmpty() && added.isEmpty()))
        return;
    m_undo->beginMacro(step);
    if (!changed.isEmpty())
        push(RecordStep::Changed, step, std::move(changed));
    if (!added.isEmpty())
        push(RecordStep::Added, step, std::move(added));
    m_undo->endMacro();
}

int StandardModel::pasteRecords(const QByteArray& bytes)
{
    const int count = m_data->pasteCount(bytes);
    QList<int> uids;
    uids.reserve(count);
    for (int k = 0; k < count; ++k) {
        const int uid = m_data->freshUid();
        if (uid < 0)
            return -1; // all or nothing: part of a copy would be easy to miss
        uids.append(uid);
    }
    if (uids.isEmpty())
        return 0;
    const int row = m_data->rowCount();
    beginInsertRows(QModelIndex(), row, row + int(uids.size()) - 1);
    m_data->pasteRecords(bytes, uids);
    endInsertRows();
    if (m_undo) {
        QVector<RecordStep::Entry> entries;
        entries.reserve(uids.size());
        for (int k = 0; k < uids.size(); ++k)
            entries.append({row + k, uids.at(k), uids.at(k), std::any(), m_data->record(row + k)});
        push(RecordStep::Added, tr("Вставка (%1 строк)").arg(uids.size()), std::move(entries));
    }
    return int(uids.size());
}

void StandardModel::push(RecordStep::Kind kind, const QString& text, QVector<RecordStep::Entry> entries)
{
    m_undo->push(new RecordStep(this, kind, text, std::move(entries)));
}

int StandardModel::rowOf(int uid, int hint, QHash<int, int>& rows) const
{
    if (m_data->uidAt(hint) == uid)
        return hint;
    // Rows moved since (a reload, an earlier step): every uid's row, looked up once.
    if (rows.isEmpty()) {
        rows.reserve(m_data->rowCount());
        for (int row = 0; row < m_data->rowCount(); ++row)
            rows.insert(m_data->uidAt(row), row);
    }
    return rows.value(uid, -1);
}

void StandardModel::restoreRecords(const QVector<RecordStep::Entry>& entries, bool toBefore)
{
    QHash<int, int> rows;
    int top = -1;
    int bottom = -1;
    for (const RecordStep::Entry& entry : entries) {
        const int row = rowOf(toBefore ? entry.uidAfter : entry.uidBefore, entry.row, rows);
        if (row < 0)
            continue;
        m_data->setRecord(row, toBefore ? entry.before : entry.after);
        if (entry.uidAfter != entry.uidBefore)
            rows.clear();
        top = top < 0 ? row : qMin(top, row);
        bottom = qMax(bottom, row);
    }
    if (top >= 0)
        Q_EMIT dataChanged(index(top, 0), index(bottom, m_columnCount - 1));
}

void StandardModel::takeRecords(const QVector<RecordStep::Entry>& entries)
{
    QHash<int, int> rows;
    QList<int> sorted;
    sorted.reserve(entries.size());
    for (const RecordStep::Entry& entry : entries) {
        const int row = rowOf(entry.uidBefore, entry.row, rows);
        if (row >= 0)
            sorted.append(row);
    }
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (!sorted.isEmpty())
        removeSorted(sorted);
}

void StandardModel::putBackRecords(const QVector<RecordStep::Entry>& entries)
{
    if (entries.isEmpty())
        return;
    QVector<QPair<int, std::any>> rows;
    rows.reserve(entries.size());
    for (const RecordStep::Entry& entry : entries)
        rows.append({entry.row, entry.after.has_value() ? entry.after : entry.before});
    const int first = qMin(entries.first().row, m_data->rowCount());
    const bool oneRun = entries.last().row - entries.first().row + 1 == entries.size() && first == entries.first().row;
    if (oneRun)
        beginInsertRows(QModelIndex(), first, first + int(entries.size()) - 1);
    else
        beginResetModel();
    m_data->insertRecords(rows);
    if (oneRun)
        endInsertRows();
    else
        endResetModel();
}
