#pragma once

#include "complexconfiginterface.h"

namespace ConfigCheck {

// The kinds that a check reads, copied from a store: the copies share the store's records until
// either side changes, so that taking them costs nothing and a check may run on another thread
// while the store is edited.
class CheckedKinds
{
public:
    explicit CheckedKinds(const CoConfig::ComplexConfigInterface& store)
        : m_racks(store.racks())
        , m_computers(store.computers())
        , m_power(store.power())
        , m_receivers(store.receivers())
        , m_antennas(store.antennasMap())
        , m_armUnions(store.armUnionsMap())
        , m_operators(store.operatorsMap())
        , m_pelengators(store.pelengatorsMap())
        , m_pelengatorUnions(store.pelengatorUnionsMap())
        , m_dataStorages(store.dataStoragesMap())
    {
    }

    const QMap<CoConfig::ComponentUid<0>, CoConfig::Rack>& racks() const { return m_racks; }
    const QMap<CoConfig::ComponentUid<1>, CoConfig::Computer>& computers() const { return m_computers; }
    const CoConfig::PowerConfig& power() const { return m_power; }
    const CoConfig::ReceiverConfig& receivers() const { return m_receivers; }
    const QMap<int, Common::Antenna>& antennasMap() const { return m_antennas; }
    const QMap<int, CoConfig::ArmUnion>& armUnionsMap() const { return m_armUnions; }
    const QMap<int, Common::Operator>& operatorsMap() const { return m_operators; }
    const QMap<int, CoConfig::Pelengator>& pelengatorsMap() const { return m_pelengators; }
    const QMap<int, CoConfig::PelengatorUnion>& pelengatorUnionsMap() const { return m_pelengatorUnions; }
    const QMap<int, DataStore::DataStorage>& dataStoragesMap() const { return m_dataStorages; }

private:
    QMap<CoConfig::ComponentUid<0>, CoConfig::Rack> m_racks;
    QMap<CoConfig::ComponentUid<1>, CoConfig::Computer> m_computers;
    CoConfig::PowerConfig m_power;
    CoConfig::ReceiverConfig m_receivers;
    QMap<int, Common::Antenna> m_antennas;
    QMap<int, CoConfig::ArmUnion> m_armUnions;
    QMap<int, Common::Operator> m_operators;
    QMap<int, CoConfig::Pelengator> m_pelengators;
    QMap<int, CoConfig::PelengatorUnion> m_pelengatorUnions;
    QMap<int, DataStore::DataStorage> m_dataStorages;
};

} // namespace ConfigCheck
