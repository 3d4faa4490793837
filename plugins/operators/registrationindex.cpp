#include "registrationindex.h"

#include <algorithm>

namespace {

template <typename List>
auto findArm(List& arms, int armUid)
{
    return std::find_if(arms.begin(), arms.end(), [armUid](const auto& arm) { return arm.first == armUid; });
}

} // namespace

void RegistrationIndex::add(int operatorUid, int armUid)
{
    Arms& arms = m_arms[operatorUid];
    const auto arm = findArm(arms, armUid);
    if (arm != arms.end())
        ++arm->second;
    else
        arms.append({armUid, 1});
}

void RegistrationIndex::remove(int operatorUid, int armUid)
{
    const auto found = m_arms.find(operatorUid);
    if (found == m_arms.end())
        return;
    Arms& arms = *found;
    const auto arm = findArm(arms, armUid);
    if (arm == arms.end() || --arm->second > 0)
        return;
    arms.erase(arm);
    if (arms.isEmpty())
        m_arms.erase(found);
}

bool RegistrationIndex::contains(int operatorUid, int armUid) const
{
    const auto found = m_arms.constFind(operatorUid);
    return found != m_arms.cend() && findArm(*found, armUid) != found->cend();
}

QList<int> RegistrationIndex::take(int operatorUid)
{
    QList<int> result;
    const Arms arms = m_arms.take(operatorUid);
    result.reserve(arms.size());
    for (const auto& arm : arms)
        result.append(arm.first);
    return result;
}
