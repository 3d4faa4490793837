#pragma once

#include "complexconfig.h"

#include <QTemporaryDir>

#include <memory>

// A real store over a fresh temporary directory, removed with it.
class TestStore
{
public:
    TestStore();
    ~TestStore();
    TestStore(const TestStore&) = delete;
    TestStore& operator=(const TestStore&) = delete;

    bool isValid() const { return m_dir.isValid(); }
    CoConfig::ComplexConfig* operator->() const;
    CoConfig::ComplexConfig* get() const;
    QString path() const { return m_dir.path(); }
    // A second store over the same directory, reading what was written.
    std::unique_ptr<CoConfig::ComplexConfig> reopen() const;

    // From now on the store gives that many more uids, then none (-1), as a store whose uids
    // are spent would; a real directory never runs out within a test.
    void setUidsLeft(int count);

private:
    class Store;

    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
};
