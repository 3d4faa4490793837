#pragma once

#include "complexconfig.h"

#include <QTemporaryDir>

#include <memory>

// A real store over a fresh temporary directory.
class TestStore
{
public:
    TestStore() : m_store(std::make_unique<CoConfig::ComplexConfig>(m_dir.path(), 1, 64)) {}

    CoConfig::ComplexConfig* operator->() const { return m_store.get(); }
    CoConfig::ComplexConfig* get() const { return m_store.get(); }
    QString path() const { return m_dir.path(); }
    // A second store over the same directory, reading what was written.
    std::unique_ptr<CoConfig::ComplexConfig> reopen() const
    {
        return std::make_unique<CoConfig::ComplexConfig>(m_dir.path(), 1, 64);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CoConfig::ComplexConfig> m_store;
};

inline CoConfig::Rack makeRack(int uid, const QString& name, const QString& shortName = QString())
{
    CoConfig::Rack rack;
    rack.uid = CoConfig::ComponentUid<0>(uid);
    rack.name = name;
    rack.shortName = shortName;
    return rack;
}

inline CoConfig::Receiver makeReceiver(int uid, int rack, const QString& name)
{
    CoConfig::Receiver receiver;
    receiver.uid = CoConfig::ComponentUid<2>(uid);
    receiver.rack = CoConfig::ComponentUid<0>(rack);
    receiver.name = name;
    return receiver;
}

inline CoConfig::Computer makeComputer(int uid, int rack, const QString& name)
{
    CoConfig::Computer computer;
    computer.uid = CoConfig::ComponentUid<1>(uid);
    computer.rack = CoConfig::ComponentUid<0>(rack);
    computer.name = name;
    return computer;
}
