#pragma once

#include "configproblem.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

namespace CoConfig {
class ComplexConfigInterface;
}

namespace ConfigCheck {

class CheckedKinds;

// Lists every broken reference and clash of a configuration, record by record: kinds in the
// editor's tab order, records in ascending uid, fields in column order. Each record is looked
// at once and each reference is one look-up (in the map, or, for the channels' many references,
// in a sorted array of the map's uids), so the check grows as n log n.
//
// What it finds:
// - a reference between records (a component's rack, UPS, PDU, computer, receiver, channel
//   server, cassette type, antenna pool, antenna server, antenna control, a power socket's object
//   of any type; an antenna control's antenna; a data storage's computer) that names no record
//   of its kind; -1 means none;
// - an entry of a list that names no record: operators registered on a workstation, the
//   workstations and antennas of a workstation union, the antennas of a pool, the direction
//   finders of a direction-finder union;
// - an antenna listed by two workstation unions, an antenna control whose antenna is not in its
//   server's pool;
// - two channels of one channel server with the same index (-1 is no index);
// - an IP address that is not one (empty is none), or one that two devices (computers, UPS
//   units, PDUs) share;
// - an empty name where the tables show names.
class ReferenceChecker
{
public:
    static QList<ConfigProblem> check(const CoConfig::ComplexConfigInterface& store);
    static QList<ConfigProblem> check(const CheckedKinds& kinds);

    // A member: its name in the files and its column title, turned into text only for a problem.
    struct Field
    {
        const char* key;
        const char* title;
    };

private:
    struct Subject;

    explicit ReferenceChecker(const CheckedKinds& store);

    void checkRacks();
    void checkComputers();
    void checkPower();
    void checkReceivers();
    void checkChannelServers();
    void checkChannels();
    void checkChannelParams();
    void checkAntennaPools();
    void checkAntennaServers();
    void checkAntennaControls();
    void checkArmUnions();
    void checkOperators();
    void checkPelengators();
    void checkDataStorages();

    template <int N, typename Map>
    void reference(const Subject& subject, const Field& field, int value, const Map& map);
    template <typename Map>
    void listed(const Subject& subject, const Field& field, RecordKind kind, const QList<int>& uids, const Map& map);
    void name(const Subject& subject, const QString& name);
    void ipAddress(const Subject& subject, const QString& text);

    void add(const Subject& subject, const Field& field, ConfigProblem::Type type, const QString& message);
    void add(const Subject& subject, const Field& field, ConfigProblem::Type type, const QString& message,
             RecordKind targetKind, int targetUid);
    void missing(const Subject& subject, const Field& field, RecordKind kind, int uid, const QString& prefix = {});

    const CheckedKinds& m_store;
    QList<ConfigProblem> m_problems;
    QHash<const char*, QString> m_fieldTexts; // the fields' keys and titles, converted once
    const QString& fieldText(const char* utf8);
    struct Holder
    {
        RecordKind kind;
        int uid;
    };
    QHash<QString, Holder> m_addresses; // canonical IP address -> its first device
};

} // namespace ConfigCheck
