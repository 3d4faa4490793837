#include "pelengatorsmodel.h"

#include "capabilitytext.h"
#include "complexconfiginterface.h"
#include "formatdms.h"
#include "snapshotstep.h"

#include <QColor>
#include <QFont>
#include <QSet>
#include <QSize>
#include <QUndoStack>

#include <algorithm>

using CoConfig::Pelengator;

namespace {

// The level sits in the low bits of an internal id and the position above it. Qt hashes persistent
// indexes by row plus internal id unmixed: with the level on top, the expanded rows of two levels
// would fill one dense run of buckets and each expansion would probe through it.
constexpr int LevelBits = 2;
constexpr quintptr LevelMask = (quintptr(1) << LevelBits) - 1;

const QColor VirtualBackground(210, 210, 210);

// Megahertz with two decimals; a value that rounds to zero reads 0.00, never -0.00.
QString megahertz(double hertz)
{
    const QString text = QString::number(hertz / 1e6, 'f', 2);
    return text == QLatin1String("-0.00") ? QStringLiteral("0.00") : text;
}

} // namespace

PelengatorsModel::PelengatorsModel(QObject* parent, bool editable, CoConfig::ComplexConfigInterface* store)
    : QAbstractItemModel(parent), m_titles{tr("Название"), tr("Значение")}, m_editable(editable), m_store(store)
{
    if (m_store)
        m_store->read(CoConfig::ObjectPelengators);
    load();
}

void PelengatorsModel::load()
{
    beginResetModel();
    QList<Pelengator> real;
    QList<Pelengator> made;
    m_withoutUid.clear();
    if (m_store) {
        for (const Pelengator& record : m_store->pelengators()) {
            if (record.uid == -1)
                m_withoutUid.append(record);
            else if (record.isVirtual)
                made.append(record);
            else
                real.append(record);
        }
    }
    std::reverse(real.begin(), real.end());
    m_pelengators = real + made;
    endResetModel();
}

QModelIndex PelengatorsModel::make(int row, int column, int level, int position) const
{
    return createIndex(row, column, (quintptr(position) << LevelBits) | quintptr(level));
}

int PelengatorsModel::levelOf(const QModelIndex& index)
{
    return index.isValid() ? int(index.internalId() & LevelMask) : 0;
}

int PelengatorsModel::positionOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return -1;
    const quintptr position = index.internalId() >> LevelBits;
    return position < quintptr(m_pelengators.size()) ? int(position) : -1;
}

QModelIndex PelengatorsModel::recordIndex(int position, int column) const
{
    return index(position, column);
}

QModelIndex PelengatorsModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= columnCount())
        return {};
    if (!parent.isValid())
        return row < m_pelengators.size() ? make(row, column, RecordLevel, row) : QModelIndex();
    const int position = positionOf(parent);
    if (position < 0 || parent.column() != 0)
        return {};
    switch (levelOf(parent)) {
    case RecordLevel:
        return row < FieldRowCount ? make(row, column, FieldLevel, position) : QModelIndex();
    case FieldLevel:
        return parent.row() == CapabilitiesRow && row < CapabilityRowCount ? make(row, column, CapabilityLevel, position)
                                                                           : QModelIndex();
    default:
        return {};
    }
}

QModelIndex PelengatorsModel::parent(const QModelIndex& index) const
{
    const int position = positionOf(index);
    if (position < 0)
        return {};
    switch (levelOf(index)) {
    case FieldLevel:
        return make(position, 0, RecordLevel, position);
    case CapabilityLevel:
        return make(CapabilitiesRow, 0, FieldLevel, position);
    default:
        return {};
    }
}

int PelengatorsModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return int(m_pelengators.size());
    // Only the first column has children, as a tree view expects.
    if (parent.column() != 0 || positionOf(parent) < 0)
        return 0;
    switch (levelOf(parent)) {
    case RecordLevel:
        return FieldRowCount;
    case FieldLevel:
        return parent.row() == CapabilitiesRow ? CapabilityRowCount : 0;
    default:
        return 0;
    }
}

int PelengatorsModel::columnCount(const QModelIndex&) const
{
    return 2;
}

QVariant PelengatorsModel::headerData(int section, Qt::Orientation, int role) const
{
    if (role == Qt::DisplayRole)
        return section == 0 || section == 1 ? QVariant(m_titles[section]) : QVariant();
    if (role == Qt::SizeHintRole)
        return QSize(256, 18);
    return {};
}

Qt::ItemFlags PelengatorsModel::flags(const QModelIndex& index) const
{
    if (positionOf(index) < 0)
        return Qt::NoItemFlags;
    // The rows under a record are drawn disabled. Telling the view which of them never have
    // children spares it a persistent index for each when it expands everything.
    if (levelOf(index) != RecordLevel)
        return rowCount(index.siblingAtColumn(0)) > 0 ? Qt::NoItemFlags : Qt::ItemNeverHasChildren;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (m_editable && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant PelengatorsModel::display(int level, int row, int column, const Pelengator& record) const
{
    switch (level) {
    case RecordLevel:
        return column == 0 ? record.name : (record.isVirtual ? tr("(виртуальный)") : QString());
    case FieldLevel:
        switch (row) {
        case UidRow:
            if (column == 0)
                return tr("ID");
            return tr("%1 (0x%2)").arg(uint(record.uid)).arg(uint(record.uid), 8, 16, QLatin1Char('0'));
        case CoordinatesRow:
            if (column == 0)
                return tr("Координаты");
            return tr("%1 | %2").arg(latitudeText(record.latitude), longitudeText(record.longitude));
        case CapabilitiesRow:
            return tr("Флаги пеленгатора (0x%1)").arg(record.capabilities, 4, 16, QLatin1Char('0'));
        case BandRow:
            if (column == 0)
                return tr("Полоса");
            // In 64 bits: the upper edge of a wide band lies beyond an int.
            return tr("(%1 - %2) МГц")
                .arg(megahertz(record.bandStart), megahertz(double(qint64(record.bandStart) + record.bandWidth)));
        default:
            return {};
        }
    case CapabilityLevel:
        return column == 0 ? capabilityText(1u << row, record.capabilities) : QString();
    default:
        return {};
    }
}

QVariant PelengatorsModel::data(const QModelIndex& index, int role) const
{
    const int position = positionOf(index);
    if (position < 0)
        return {};
    const int level = levelOf(index);
    const Pelengator& record = m_pelengators.at(position);
    switch (role) {
    case Qt::DisplayRole:
        return display(level, index.row(), index.column(), record);
    case Qt::CheckStateRole:
        if (level == RecordLevel && index.column() == 0 && m_editable)
            return record.marked ? Qt::Checked : Qt::Unchecked;
        if (level == CapabilityLevel && index.column() == 1)
            return record.capabilities & (1u << index.row()) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::FontRole: {
        QFont font;
        font.setItalic((level == RecordLevel && index.column() == 1) || (level == CapabilityLevel && index.column() == 0));
        return font;
    }
    case Qt::BackgroundRole:
        return level == RecordLevel && record.isVirtual ? VirtualBackground : QColor(Qt::white);
    default:
        return {};
    }
}

bool PelengatorsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int position = positionOf(index);
    if (!m_editable || index.column() != 0 || position < 0)
        return false;
    const QList<Pelengator> before = m_pelengators;
    if (role == Qt::CheckStateRole && levelOf(index) == RecordLevel)
        m_pelengators[position].marked = value.toInt() == Qt::Checked;
    emit dataChanged(index, index);
    stepped(m_pelengators.at(position).marked ? tr("Отметка пеленгатора") : tr("Снятие отметки пеленгатора"), before);
    return true;
}

Pelengator PelengatorsModel::pelengatorAt(const QModelIndex& index) const
{
    const int position = positionOf(index);
    return position < 0 ? Pelengator() : m_pelengators.at(position);
}

void PelengatorsModel::add(const Pelengator& pelengator)
{
    if (!m_editable || !m_store)
        return;
    const QList<Pelengator> before = m_pelengators;
    const int row = int(m_pelengators.size());
    beginInsertRows(QModelIndex(), row, row);
    m_pelengators.append(pelengator);
    m_store->addPelengator(pelengator);
    endInsertRows();
    stepped(tr("Добавление пеленгатора"), before);
}

void PelengatorsModel::replace(const QModelIndex& index, const Pelengator& pelengator)
{
    const int position = positionOf(index);
    if (!m_editable || position < 0)
        return;
    const QList<Pelengator> before = m_pelengators;
    m_pelengators[position] = pelengator;
    // The rows under the record show its fields too.
    const QModelIndex record = recordIndex(position);
    emit dataChanged(record, recordIndex(position, 1));
    emit dataChanged(this->index(0, 0, record), this->index(FieldRowCount - 1, 1, record));
    const QModelIndex capabilities = this->index(CapabilitiesRow, 0, record);
    emit dataChanged(this->index(0, 0, capabilities), this->index(CapabilityRowCount - 1, 1, capabilities));
    stepped(tr("Изменение пеленгатора"), before);
}

void PelengatorsModel::remove(const QModelIndex& index)
{
    const int position = positionOf(index);
    if (!m_editable || !m_store || position < 0)
        return;
    const QList<Pelengator> before = m_pelengators;
    beginRemoveRows(QModelIndex(), position, position);
    const Pelengator removed = m_pelengators.takeAt(position);
    m_store->removePelengator(removed.uid);
    endRemoveRows();
    stepped(tr("Удаление пеленгатора"), before);
}

void PelengatorsModel::stepped(const QString& text, const QList<Pelengator>& before)
{
    if (m_history && before != m_pelengators)
        m_history->push(new Common::SnapshotStep<QList<Pelengator>>(
            text, before, m_pelengators, [this](const QList<Pelengator>& records) { restore(records); }));
}

void PelengatorsModel::restore(const QList<Pelengator>& records)
{
    QSet<int> kept;
    for (const Pelengator& record : records)
        kept.insert(record.uid);
    if (m_store) {
        for (const Pelengator& record : std::as_const(m_pelengators)) {
            if (!kept.contains(record.uid))
                m_store->removePelengator(record.uid);
        }
        for (const Pelengator& record : records) {
            if (!m_store->pelengatorsMap().contains(record.uid))
                m_store->addPelengator(record);
        }
    }
    beginResetModel();
    m_pelengators = records;
    endResetModel();
}

bool PelengatorsModel::uidExists(int uid) const
{
    return std::any_of(m_pelengators.cbegin(), m_pelengators.cend(),
                       [uid](const Pelengator& record) { return record.uid == uid; });
}

CoConfig::ComplexConfigInterface* PelengatorsModel::writeConfig()
{
    if (!m_store)
        return nullptr;
    m_store->clearPelengators();
    for (const Pelengator& record : std::as_const(m_pelengators))
        m_store->addPelengator(record);
    for (const Pelengator& record : std::as_const(m_withoutUid))
        m_store->addPelengator(record);
    return m_store;
}
