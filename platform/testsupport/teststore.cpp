#include "teststore.h"

TestStore::TestStore() : m_store(reopen())
{
}

std::unique_ptr<CoConfig::ComplexConfig> TestStore::reopen() const
{
    return std::make_unique<CoConfig::ComplexConfig>(m_dir.path(), 1, 64);
}
