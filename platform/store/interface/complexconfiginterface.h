#pragma once

#include "records.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

namespace CoConfig {

// The configuration store of one complex, as programs and plugins see it.
// A group of a record type is: list, map by uid (mutable, then const), clear, add, remove(uid), count.
// Lists are in ascending uid order. Mutable accessors return references into the store;
// write() stores what was changed through them.
class ComplexConfigInterface : public QObject
{
    Q_OBJECT

public:
    explicit ComplexConfigInterface(QObject* parent = nullptr);
    ~ComplexConfigInterface() override;

    // 1. The complex, its description, antennas and data storages.
    virtual int complexUid() const = 0;
    virtual void setComplexUid(int uid) = 0;

    virtual QList<ComplexInfo> complexInfos() const = 0;
    virtual QMap<int, ComplexInfo>& complexInfosMap() = 0;
    virtual const QMap<int, ComplexInfo>& complexInfosMap() const = 0;
    virtual void clearComplexInfos() = 0;
    virtual void addComplexInfo(const ComplexInfo& info) = 0;
    virtual void removeComplexInfo(int uid) = 0;
    virtual int complexInfoCount() const = 0;

    virtual QList<Common::Antenna> antennas() const = 0;
    virtual QMap<int, Common::Antenna>& antennasMap() = 0;
    virtual const QMap<int, Common::Antenna>& antennasMap() const = 0;
    virtual void clearAntennas() = 0;
    virtual void addAntenna(const Common::Antenna& antenna) = 0;
    virtual void removeAntenna(int uid) = 0;
    virtual int antennaCount() const = 0;

    virtual QList<DataStore::DataStorage> dataStorages() const = 0;
    virtual QMap<int, DataStore::DataStorage>& dataStoragesMap() = 0;
    virtual const QMap<int, DataStore::DataStorage>& dataStoragesMap() const = 0;
    virtual void clearDataStorages() = 0;
    virtual void addDataStorage(const DataStore::DataStorage& storage) = 0;
    virtual void removeDataStorage(int uid) = 0;
    virtual int dataStorageCount() const = 0;

    // 2. Direction finders, workstation unions, direction-finder unions.
    virtual QList<Pelengator> pelengators() const = 0;
    virtual QMap<int, Pelengator>& pelengatorsMap() = 0;
    virtual const QMap<int, Pelengator>& pelengatorsMap() const = 0;
    virtual Pelengator pelengator(int uid) const = 0; // a default record when there is none
    virtual void clearPelengators() = 0;
    virtual void addPelengator(const Pelengator& pelengator) = 0;
    virtual void removePelengator(int uid) = 0;
    virtual int pelengatorCount() const = 0;

    virtual QList<ArmUnion> armUnions() const = 0;
    virtual QMap<int, ArmUnion>& armUnionsMap() = 0;
    virtual const QMap<int, ArmUnion>& armUnionsMap() const = 0;
    virtual ArmUnion armUnion(int uid) const = 0; // a default record when there is none
    virtual void clearArmUnions() = 0;
    virtual void addArmUnion(const ArmUnion& armUnion) = 0;
    virtual void removeArmUnion(int uid) = 0;
    virtual int armUnionCount() const = 0;

    virtual QList<PelengatorUnion> pelengatorUnions() const = 0;
    virtual QMap<int, PelengatorUnion>& pelengatorUnionsMap() = 0;
    virtual const QMap<int, PelengatorUnion>& pelengatorUnionsMap() const = 0;
    virtual void clearPelengatorUnions() = 0;
    virtual void addPelengatorUnion(const PelengatorUnion& pelengatorUnion) = 0;
    virtual void removePelengatorUnion(int uid) = 0;
    virtual int pelengatorUnionCount() const = 0;

    // 3. Operators and their registrations on workstations.
    virtual QList<Common::Operator> operators() const = 0;
    virtual QMap<int, Common::Operator>& operatorsMap() = 0;
    virtual const QMap<int, Common::Operator>& operatorsMap() const = 0;
    virtual QList<int> armsOperatorUids(int armUid) const = 0;              // operators registered on a workstation
    virtual QHash<QString, int> armsOperatorUidsHash(int armUid) const = 0; // login -> operator uid
    virtual void clearOperators() = 0;
    virtual void addOperator(const Common::Operator& op) = 0;
    virtual void removeOperator(int uid) = 0;
    // The operator registered on the workstation under the login of the process's user;
    // a default record when there is none.
    virtual Common::Operator currentOperator(int armUid) const = 0;
    virtual int operatorCount() const = 0;

    // 4. Derived views.
    virtual QMap<int, QList<int>> armsChannels() const = 0;       // workstation uid -> channel uids
    virtual QMap<int, int> channelsArm() const = 0;               // channel uid -> workstation uid
    virtual QMap<int, QList<int>> armUnionsAntennas() const = 0;  // union uid -> antenna uids

    // 5. Links between objects of the complex.
    virtual QList<InteractionLink> taskSetLinks() const = 0;
    virtual void clearTaskSetLinks() = 0;
    virtual void addTaskSetLink(const InteractionLink& link) = 0;
    virtual void removeTaskSetLink(int index) = 0;
    virtual int taskSetLinkCount() const = 0;
    virtual QList<int> taskSetReceivers(int source) const = 0;

    virtual QList<InteractionLink> taskTransferLinks() const = 0;
    virtual void clearTaskTransferLinks() = 0;
    virtual void addTaskTransferLink(const InteractionLink& link) = 0;
    virtual void removeTaskTransferLink(int index) = 0;
    virtual int taskTransferLinkCount() const = 0;
    virtual QList<int> taskTransferReceivers(int source) const = 0;

    virtual QList<InteractionLink> reportLinks() const = 0;
    virtual void clearReportLinks() = 0;
    virtual void addReportLink(const InteractionLink& link) = 0;
    virtual void removeReportLink(int index) = 0;
    virtual int reportLinkCount() const = 0;
    virtual QList<int> reportReceivers(int source) const = 0;

    virtual QList<InteractionLink> dravikLinks() const = 0;
    virtual void clearDravikLinks() = 0;
    virtual void addDravikLink(const InteractionLink& link) = 0;
    virtual void removeDravikLink(int index) = 0;
    virtual int dravikLinkCount() const = 0;
    virtual QList<int> dravikReceivers(int source) const = 0;

    // 6. Component maps.
    virtual QMap<ComponentUid<0>, Rack>& racks() = 0;
    virtual const QMap<ComponentUid<0>, Rack>& racks() const = 0;
    virtual QMap<ComponentUid<1>, Computer>& computers() = 0;
    virtual const QMap<ComponentUid<1>, Computer>& computers() const = 0;
    virtual PowerConfig& power() = 0;
    virtual const PowerConfig& power() const = 0;
    virtual ReceiverConfig& receivers() = 0;
    virtual const ReceiverConfig& receivers() const = 0;

    // 7. Look-ups, the directory, uids, reading and writing.
    virtual bool findChannel(int uid, Channel& channel) const = 0;
    virtual bool checkConfigDir() const = 0;      // the directory exists or can be created, and can be read
    virtual QString configDirPath() const = 0;
    virtual int readStatus() const = 0;           // the kinds (ComplexObjectType bits) whose last read failed
    virtual int updateReadStatus() = 0;           // the kinds changed on disk since they were read
    // A uid of that kind that no record holds and that was never answered before; -1 for an
    // unknown or combined type or when none is left.
    virtual int generateObjectUid(int type) = 0;
    virtual int armUnionUidFromArmUid(int armUid) const = 0; // the first union listing it, or -1
    virtual bool read(int types) = 0;
    virtual bool write(int types) = 0;
    virtual void clear() = 0;
    // Why the last read or write failed: file, line and cause; empty after a success.
    virtual QString errorString() const = 0;
};

} // namespace CoConfig
