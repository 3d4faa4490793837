#pragma once

#include "antennarow.h"
#include "tabledata.h"

#include <QHash>
#include <QList>

namespace CoConfig {
struct ArmUnion;
}

// The antenna table's rows: type, uid, diagram, azimuth, state, union. Built from the texts and
// the rows it is given; it never looks at the store.
class AntennaTableData : public TableData
{
public:
    enum Column { Type, Uid, Diagram, Azimuth, State, ArmUnion, ColumnCount };

    AntennaTableData(const QStringList& typeNames, const QStringList& stateNames, const QList<AntennaRow>& rows,
                     const QList<CoConfig::ArmUnion>& unions);

    const QList<AntennaRow>& rows() const { return m_rows; }

    int rowCount() const override;
    QVariant data(int row, int column, int role) const override;
    // Numbers keep the bit pattern of what they are handed (-1 stays -1); a text that is no
    // number gives 0.
    bool setData(int row, int column, const QVariant& value) override;
    void removeRows(int row, int count) override;
    void insertRows(int row, int count) override;
    Qt::ItemFlags flags(int column) const override;
    QVariant snapshot() const override { return QVariant::fromValue(m_rows); }
    void restore(const QVariant& snapshot) override { m_rows = snapshot.value<QList<AntennaRow>>(); }

private:
    QString typeName(int type) const;

    const QStringList m_typeNames; // undefined, then types 0, 1, 2
    const QStringList m_stateNames; // on, off
    QList<AntennaRow> m_rows;
    QHash<int, QString> m_unionNames;
};
