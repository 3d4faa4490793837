#include "teststore.h"

class TestStore::Store : public CoConfig::ComplexConfig
{
public:
    using ComplexConfig::ComplexConfig;

    int generateObjectUid(int type) override
    {
        if (uidsLeft == 0)
            return -1;
        if (uidsLeft > 0)
            --uidsLeft;
        return ComplexConfig::generateObjectUid(type);
    }

    int uidsLeft = -1; // -1: as many as the store has
};

TestStore::TestStore()
    : m_store(std::make_unique<Store>(m_dir.path(), CoConfig::ObjectAll, CoConfig::ObjectArmUnions))
{
}

TestStore::~TestStore() = default;

CoConfig::ComplexConfig* TestStore::operator->() const
{
    return m_store.get();
}

CoConfig::ComplexConfig* TestStore::get() const
{
    return m_store.get();
}

std::unique_ptr<CoConfig::ComplexConfig> TestStore::reopen() const
{
    return std::make_unique<CoConfig::ComplexConfig>(m_dir.path(), CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
}

void TestStore::setUidsLeft(int count)
{
    m_store->uidsLeft = count;
}
