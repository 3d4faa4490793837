#pragma once

#include "configproblem.h"
#include "recordkind.h"

#include <QHash>
#include <QList>
#include <QString>

namespace CoConfig {
class ComplexConfigInterface;
struct AntennaControl;
}
namespace Common {
struct Antenna;
}

namespace ConfigCheck {

class CheckedKinds;

// How the channel table names an antenna control, which has no name of its own.
QString controlLabel(const CoConfig::AntennaControl& control);
// How an antenna control's cell shows an antenna: "D:2/A:90".
QString antennaLabel(const Common::Antenna& antenna);

// The names of the records that references name, as the tables show them, gathered from every
// store they are given: a record removed since is still known by the name it had.
class RecordNames
{
public:
    void gather(const CoConfig::ComplexConfigInterface& store);
    void gather(const CheckedKinds& store);
    // Empty for a record never seen, or one without a name.
    QString name(RecordKind kind, int uid) const;
    // Names the missing record of each problem that has one known: "… Стойка 7 «Стойка связи»".
    void nameMissing(QList<ConfigProblem>& problems) const;
    static void nameTarget(ConfigProblem& problem, const QString& name);

private:
    void add(RecordKind kind, int uid, const QString& name);

    QHash<qint64, QString> m_names;
};

} // namespace ConfigCheck
