#include "registrationindex.h"

#include <algorithm>

namespace {

// Where the workstation is or would go in the operator's list.
template <typename List>
auto findArm(List& arms, int armUid)
{
    return std::lower_bound(arms.begin(), arms.end(), armUid, [](const auto& arm, int uid) { return arm.first < uid; });
}

} // namespace

void RegistrationIndex::add(int operatorUid, int armUid)
{
    Arms& arms = m_arms[operatorUid];
    // Built workstation by workstation, in uid order: mostly at the end.
    if (!arms.isEmpty() && arms.constLast().first == armUid) {
        ++arms.last().second;
        return;
    }
    const auto arm = arms.isEmpty() || arms.constLast().first < armUid ? arms.end() : findArm(arms, armUid);
    if (arm != arms.end() && arm->first == armUid)
        ++arm->second;
    else
        arms.insert(arm, {armUid, 1});
}

void RegistrationIndex::remove(int operatorUid, int armUid)
{
    const auto found = m_arms.find(operatorUid);
    if (found == m_arms.end())
        return;
    Arms& arms = *found;
    const auto arm = findArm(arms, armUid);
    if (arm == arms.end() || arm->first != armUid || --arm->second > 0)
        return;
    arms.erase(arm);
    if (arms.isEmpty())
        m_arms.erase(found);
}

bool RegistrationIndex::contains(int operatorUid, int armUid) const
{
    const auto found = m_arms.constFind(operatorUid);
    if (found == m_arms.cend())
        return false;
    const auto arm = findArm(*found, armUid);
    return arm != found->cend() && arm->first == armUid;
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
