#include "qserverstatus.h"

namespace DemDecData {

QServerStatus::QServerStatus(const QString& address, quint16 port, const QString& name)
    : m_address(address)
    , m_port(port)
    , m_name(name)
{
}

bool QServerStatus::operator==(const QServerStatus& other) const
{
    return m_address == other.m_address && m_port == other.m_port && m_name == other.m_name;
}

} // namespace DemDecData
