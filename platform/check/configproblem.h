#pragma once

#include "recordkind.h"

#include <QJsonObject>
#include <QList>
#include <QString>

namespace ConfigCheck {

// One fault of a configuration: which record, which of its fields, and what is wrong.
struct ConfigProblem
{
    enum Type {
        MissingRecord,        // a reference or list entry names no record of that kind
        UnknownObjectType,    // a power socket's object has a type that is no component type
        NotAnIpAddress,
        DuplicateIpAddress,   // another device has the same address
        DuplicateServerIndex, // another channel of the same channel server has the same index
        AntennaInTwoUnions,   // an earlier workstation union lists the antenna already
        AntennaOutsidePool,   // an antenna control's antenna is not in its server's pool
        EmptyName
    };

    Type type = MissingRecord;
    RecordKind kind = RecordKind::Rack;
    int uid = -1;
    QString name;       // the record's name as the tables show it; empty for kinds without one
    QString field;      // the member as the files name it ("rack", "antennaUids")
    QString fieldTitle; // its column title in the tables
    QString message;    // what is wrong, for people
    // The record referred to, or the one that already holds the address, index or antenna.
    bool hasTarget = false;
    RecordKind targetKind = RecordKind::Rack;
    int targetUid = -1;

    static QString typeKey(Type type); // "missing-record", "empty-name", ...

    // One line: kind, uid, «name», field title and message.
    QString text() const;
    QJsonObject toJson() const;
};

} // namespace ConfigCheck
