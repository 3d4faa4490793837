#include "operatorworkingset.h"

#include "complexconfiginterface.h"

#include <algorithm>

namespace {

// The kinds a working set holds, read again where their files changed.
void readKinds(CoConfig::ComplexConfigInterface* store)
{
    store->read(CoConfig::ObjectComputers);
    store->read(CoConfig::ObjectArmUnions);
    store->read(CoConfig::ObjectOperators);
}

} // namespace

QString OperatorWorkingSet::fullName(const Common::Operator& op)
{
    QStringList parts;
    for (const QString& part : {op.surname, op.name, op.thirdname}) {
        if (!part.isEmpty())
            parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

void OperatorWorkingSet::load(CoConfig::ComplexConfigInterface* store)
{
    clear();
    if (!store)
        return;
    readKinds(store);

    m_operatorsRead = !(store->readStatus() & CoConfig::ObjectOperators);
    m_unions = store->armUnions();
    // The store's maps, shared: an edit copies what it changes.
    m_computers = store->computers();
    m_arms = m_computers;
    m_loadedOperators = store->operatorsMap();
    m_operators = m_loadedOperators;
    buildIndexes();
    synced(*store);
}

namespace {

// The same unions of the same workstations, in the same order: their names and antennas aside.
bool sameMembers(const QList<CoConfig::ArmUnion>& a, const QList<CoConfig::ArmUnion>& b)
{
    return a.size() == b.size()
        && std::equal(a.cbegin(), a.cend(), b.cbegin(),
                      [](const CoConfig::ArmUnion& x, const CoConfig::ArmUnion& y) { return x.armUids == y.armUids; });
}

} // namespace

bool OperatorWorkingSet::sameLayout(const OperatorWorkingSet& other) const
{
    if (m_operatorsRead != other.m_operatorsRead || m_arms.size() != other.m_arms.size()
        || !sameMembers(m_unions, other.m_unions) || m_loadedOperators != other.m_loadedOperators)
        return false;
    return std::equal(m_arms.cbegin(), m_arms.cend(), other.m_arms.cbegin(),
                      [](const CoConfig::Computer& a, const CoConfig::Computer& b) {
                          return a.uid == b.uid && a.registrations == b.registrations;
                      });
}

bool OperatorWorkingSet::rebase(CoConfig::ComplexConfigInterface* store)
{
    if (!store)
        return false;
    readKinds(store);
    const CoConfig::ComplexConfigInterface& current = *store;
    const auto& computers = current.computers();
    const bool sameArms = armsUntouched(current) || computers == m_arms;
    // Another tab changed workstations (a name, an address) and none of their registrations,
    // which are this tab's: the set takes them as they are now.
    const bool othersChanged = !sameArms && computers.size() == m_arms.size()
        && std::equal(computers.keyValueBegin(), computers.keyValueEnd(), m_arms.keyValueBegin(),
                      [](const auto& stored, const auto& arm) {
                          return stored.first == arm.first && stored.second.registrations == arm.second.registrations;
                      });
    // Unions renamed or given other antennas elsewhere are taken as they are, too.
    const QList<CoConfig::ArmUnion>& unions = current.armUnions();
    const bool sameUnions = unions == m_unions;
    if (m_operatorsRead == bool(current.readStatus() & CoConfig::ObjectOperators) || (!sameArms && !othersChanged)
        || !sameOperators(current) || (!sameUnions && !sameMembers(unions, m_unions)))
        return false;
    if (!sameUnions)
        m_unions = unions; // the indexes follow the members, which are the same
    // Nothing edited since the load: the set is already what a load would give.
    const bool unedited = m_removed.isEmpty()
        && ((m_arms.isSharedWith(m_synced.arms) && m_operators.isSharedWith(m_synced.operators))
            || (m_operators == m_loadedOperators && m_arms == m_computers));
    if (othersChanged) {
        m_arms = computers; // the same registrations: the indexes hold
        if (unedited)
            m_computers = computers;
    }
    if (unedited) {
        synced(current);
        return true;
    }
    // The edits kept the indexes up to date, and the store holds the same workstations,
    // registrations and union members: they stand as they are.
    m_loadedOperators = m_operators;
    m_computers = m_arms;
    m_removed.clear();
    synced(current);
    return true;
}

void OperatorWorkingSet::synced(const CoConfig::ComplexConfigInterface& store)
{
    m_synced = {store.computers(), m_arms, store.operatorsMap(), m_operators};
}

bool OperatorWorkingSet::armsUntouched(const CoConfig::ComplexConfigInterface& store) const
{
    return store.computers().isSharedWith(m_synced.storeComputers) && m_arms.isSharedWith(m_synced.arms);
}

bool OperatorWorkingSet::sameOperators(const CoConfig::ComplexConfigInterface& store) const
{
    const auto& operators = store.operatorsMap();
    return (operators.isSharedWith(m_synced.storeOperators) && m_operators.isSharedWith(m_synced.operators))
        || operators == m_operators;
}

void OperatorWorkingSet::buildIndexes()
{
    m_armsOfUnion.reserve(m_unions.size());
    m_unionsOfArm.reserve(m_arms.size());
    for (int u = 0; u < m_unions.size(); ++u) {
        QList<int> arms;
        for (int armUid : m_unions.at(u).armUids) {
            if (!m_arms.contains(CoConfig::ComponentUid<1>(armUid)))
                continue;
            QList<int>& unions = m_unionsOfArm[armUid];
            // A workstation listed twice by one union was recorded for it the first time.
            if (!unions.isEmpty() && unions.last() == u)
                continue;
            unions << u;
            arms << armUid;
        }
        m_armsOfUnion << arms;
    }
    m_registrationsOf.reserve(m_operators.size());
    for (auto arm = m_arms.cbegin(); arm != m_arms.cend(); ++arm) {
        for (int operatorUid : arm->registrations)
            m_registrationsOf.add(operatorUid, arm.key().value);
    }
}

void OperatorWorkingSet::save(CoConfig::ComplexConfigInterface* store) const
{
    if (!store)
        return;
    // What is already so is left alone: the store then sees those kinds unchanged.
    const CoConfig::ComplexConfigInterface& current = *store;
    if (!sameOperators(current)) {
        // The set's map itself, shared, where each record is under its own uid as the store
        // keeps them; an edit here or there copies what it changes.
        const bool keyed = std::all_of(m_operators.keyValueBegin(), m_operators.keyValueEnd(),
                                       [](const auto& entry) { return entry.first == entry.second.uid; });
        if (keyed) {
            store->operatorsMap() = m_operators;
        } else {
            store->clearOperators();
            for (const Common::Operator& op : m_operators)
                store->addOperator(op);
        }
    }

    // Workstations that this editor knows get its registration maps; on every workstation a
    // registration of an operator removed here is dropped, and so is one whose operator does not
    // exist. When the operators could not be read, nobody knows which exist: those stay.
    const QList<int> operatorUids = m_operators.keys(); // in order: looked up by halves
    const auto gone = [&](int uid) {
        return m_removed.contains(uid)
            || (m_operatorsRead && !std::binary_search(operatorUids.cbegin(), operatorUids.cend(), uid));
    };
    const auto wanted = [&](const CoConfig::ComponentUid<1>& uid, const CoConfig::Registrations& registrations) {
        const auto arm = m_arms.constFind(uid);
        return arm != m_arms.cend() ? arm->registrations : registrations;
    };
    // Both maps go by uid: the workstations are walked side by side.
    auto arm = m_arms.cbegin();
    const bool settled = std::all_of(current.computers().keyValueBegin(), current.computers().keyValueEnd(),
                                     [&](const auto& computer) {
                                         while (arm != m_arms.cend() && arm.key() < computer.first)
                                             ++arm;
                                         const bool known = arm != m_arms.cend() && arm.key() == computer.first;
                                         const CoConfig::Registrations& registrations =
                                             known ? arm->registrations : computer.second.registrations;
                                         return registrations == computer.second.registrations
                                             && std::none_of(registrations.begin(), registrations.end(), gone);
                                     });
    if (settled)
        return;
    auto& computers = store->computers();
    for (auto it = computers.begin(); it != computers.end(); ++it) {
        CoConfig::Registrations& registrations = it->registrations;
        registrations = wanted(it.key(), registrations);
        // Only a map that holds such a registration is detached from the working copy.
        const auto& shared = std::as_const(registrations);
        if (std::none_of(shared.begin(), shared.end(), gone))
            continue;
        for (auto reg = registrations.begin(); reg != registrations.end();) {
            if (gone(reg.value()))
                reg = registrations.erase(reg);
            else
                ++reg;
        }
    }
}

void OperatorWorkingSet::clear()
{
    m_unions.clear();
    m_computers.clear();
    m_loadedOperators.clear();
    m_operators.clear();
    m_arms.clear();
    m_armsOfUnion.clear();
    m_unionsOfArm.clear();
    m_registrationsOf.clear();
    m_removed.clear();
    m_operatorsRead = true;
    m_synced = {};
}

bool OperatorWorkingSet::addOperator(const Common::Operator& op)
{
    if (m_operators.contains(op.uid))
        return false;
    m_operators.insert(op.uid, op);
    m_removed.remove(op.uid);
    return true;
}

bool OperatorWorkingSet::updateOperator(const Common::Operator& op)
{
    if (!m_operators.contains(op.uid))
        return false;
    m_operators.insert(op.uid, op);
    return true;
}

void OperatorWorkingSet::removeOperator(int uid)
{
    if (m_operators.remove(uid))
        m_removed.insert(uid);
    for (const int armUid : m_registrationsOf.take(uid)) {
        const auto arm = m_arms.find(CoConfig::ComponentUid<1>(armUid));
        if (arm == m_arms.end())
            continue;
        CoConfig::Registrations& registrations = arm->registrations;
        for (auto reg = registrations.begin(); reg != registrations.end();) {
            if (reg.value() == uid)
                reg = registrations.erase(reg);
            else
                ++reg;
        }
    }
}

CoConfig::Registrations OperatorWorkingSet::registrations(int armUid) const
{
    const auto arm = m_arms.constFind(CoConfig::ComponentUid<1>(armUid));
    return arm == m_arms.cend() ? CoConfig::Registrations() : arm->registrations;
}

QStringList OperatorWorkingSet::logins(int armUid) const
{
    return registrations(armUid).keys(); // kept in login order
}

bool OperatorWorkingSet::isRegistered(int armUid, int operatorUid) const
{
    return m_registrationsOf.contains(operatorUid, armUid);
}

bool OperatorWorkingSet::registerOperator(int armUid, const QString& login, int operatorUid)
{
    auto arm = m_arms.find(CoConfig::ComponentUid<1>(armUid));
    if (arm == m_arms.end() || arm->registrations.contains(login) || !m_operators.contains(operatorUid))
        return false;
    arm->registrations.insert(login, operatorUid);
    m_registrationsOf.add(operatorUid, armUid);
    return true;
}

bool OperatorWorkingSet::unregister(int armUid, const QString& login)
{
    auto arm = m_arms.find(CoConfig::ComponentUid<1>(armUid));
    if (arm == m_arms.end() || !arm->registrations.contains(login))
        return false;
    const int operatorUid = arm->registrations.take(login);
    m_registrationsOf.remove(operatorUid, armUid);
    return true;
}

bool OperatorWorkingSet::renameLogin(int armUid, const QString& oldLogin, const QString& newLogin)
{
    auto arm = m_arms.find(CoConfig::ComponentUid<1>(armUid));
    if (arm == m_arms.end() || !arm->registrations.contains(oldLogin))
        return false;
    if (oldLogin == newLogin)
        return true;
    if (arm->registrations.contains(newLogin))
        return false;
    arm->registrations.insert(newLogin, arm->registrations.take(oldLogin));
    return true;
}
