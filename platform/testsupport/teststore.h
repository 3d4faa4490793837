#pragma once

#include "complexconfig.h"

#include <QTemporaryDir>

#include <memory>

// A real store over a fresh temporary directory, removed with it.
class TestStore
{
public:
    TestStore();

    bool isValid() const { return m_dir.isValid(); }
    CoConfig::ComplexConfig* operator->() const { return m_store.get(); }
    CoConfig::ComplexConfig* get() const { return m_store.get(); }
    QString path() const { return m_dir.path(); }
    // A second store over the same directory, reading what was written.
    std::unique_ptr<CoConfig::ComplexConfig> reopen() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CoConfig::ComplexConfig> m_store;
};
