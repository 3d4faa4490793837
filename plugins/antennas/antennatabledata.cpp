#include "antennatabledata.h"

#include "complexrecords.h"

#include <QCoreApplication>

namespace {

QStringList titles()
{
    QStringList titles;
    for (const char* title : {"Тип", "ID", "Диаграмма", "Азимут", "Состояние", "Группа.АРМ"})
        titles.append(QCoreApplication::translate("AntennaTableData", title));
    return titles;
}

int toUnsigned(const QVariant& value)
{
    return int(value.toUInt());
}

// A decimal comma is taken as well as a point: the table shows the azimuth in the user's locale.
float toDegrees(const QVariant& value)
{
    if (value.typeId() != QMetaType::QString)
        return value.toFloat();
    QString text = value.toString();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return QVariant(text).toFloat();
}

} // namespace

AntennaTableData::AntennaTableData(const QStringList& typeNames, const QStringList& stateNames,
                                   const QList<AntennaRow>& rows, const QList<CoConfig::ArmUnion>& unions)
    : TableData(ColumnCount, titles()), m_typeNames(typeNames), m_stateNames(stateNames), m_rows(rows)
{
    m_unionNames.reserve(unions.size());
    for (const CoConfig::ArmUnion& armUnion : unions)
        m_unionNames.insert(armUnion.uid, armUnion.name);
}

int AntennaTableData::rowCount() const
{
    return int(m_rows.size());
}

QString AntennaTableData::typeName(int type) const
{
    return m_typeNames.value(type >= 0 && type <= 2 ? type + 1 : 0);
}

QVariant AntennaTableData::data(int row, int column, int role) const
{
    if (row < 0 || row >= rowCount())
        return QVariant();
    const AntennaRow& antenna = m_rows[row];
    const bool display = role == Qt::DisplayRole;
    switch (column) {
    case Type:
        return display ? QVariant(typeName(antenna.type)) : QVariant(antenna.type);
    case Uid:
        return antenna.uid;
    case Diagram:
        return antenna.diagram;
    case Azimuth:
        return antenna.azimuth;
    case State:
        return display ? QVariant(m_stateNames.value(antenna.state ? 0 : 1)) : QVariant(antenna.state);
    case ArmUnion:
        if (!display)
            return QString::number(antenna.armUnionUid);
        if (antenna.armUnionUid == -1)
            return QCoreApplication::translate("AntennaTableData", "Нет привязки");
        return m_unionNames.value(antenna.armUnionUid);
    default:
        return QVariant();
    }
}

bool AntennaTableData::setData(int row, int column, const QVariant& value)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount)
        return false;
    AntennaRow& antenna = m_rows[row];
    switch (column) {
    case Type:
        antenna.type = toUnsigned(value);
        break;
    case Uid: {
        // Antennas are saved by uid: a second row with one would vanish at the save.
        const int uid = toUnsigned(value);
        for (int other = 0; other < rowCount(); ++other) {
            if (other != row && m_rows.at(other).uid == uid)
                return false;
        }
        antenna.uid = uid;
        break;
    }
    case Diagram:
        antenna.diagram = toUnsigned(value);
        break;
    case Azimuth:
        antenna.setAzimuth(toDegrees(value));
        break;
    case State:
        antenna.state = value.toBool();
        break;
    case ArmUnion:
        antenna.armUnionUid = toUnsigned(value);
        break;
    }
    return true;
}

void AntennaTableData::removeRows(int row, int count)
{
    if (row < 0 || row >= rowCount() || count < 1)
        return;
    m_rows.remove(row, qMin(count, rowCount() - row));
}

void AntennaTableData::insertRows(int row, int count)
{
    if (row < 0 || row > rowCount() || count < 1)
        return;
    m_rows.insert(row, count, AntennaRow());
}

Qt::ItemFlags AntennaTableData::flags(int column) const
{
    if (column == Uid)
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (column >= 0 && column < ColumnCount)
        return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled;
}
