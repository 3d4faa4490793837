#pragma once

#include <QHash>
#include <QVariant>
#include <QVector>

// Every column of every component table is one of these fields.
enum ComponentField : int {
    FieldUid = 0,
    FieldName = 1,
    FieldShortName = 2,
    FieldIpAddress = 3,
    FieldControlPort = 4,
    FieldSignalPort = 5,
    FieldDacPort = 6,
    FieldRack = 7,
    FieldUps = 8,
    FieldPdu = 9,
    FieldComputer = 10,
    FieldIndex = 11,
    FieldObject = 12,
    FieldControlledRack = 13,
    FieldComputerFlags = 14,
    FieldCassetteType = 15,
    FieldModule = 16,
    FieldFixed = 17,
    FieldHidden = 18,
    FieldMulti = 19,
    FieldScale = 20,
    FieldReceiver = 21,
    FieldChannelServer = 22,
    FieldServerIndex = 23,
    FieldBoard = 24,
    FieldCassette = 25,
    FieldRpu = 26,
    FieldX64 = 27,
    FieldDiagrams = 28,
    FieldAntennaServer = 29,
    FieldControlRpu = 30,
    FieldAntennaPool = 31,
    FieldGroup = 32,
    FieldAntenna = 33,
    FieldCount = 34
};

// Header data of every field, indexed by its value: Qt::DisplayRole gives the title,
// Qt::ToolTipRole the tooltip. Built once, on first use.
const QVector<QHash<int, QVariant>>& fieldHeaders();
