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
    m_computers = store->computers().values();
    m_operatorList = store->operators();
    // Both lists come in uid order: each record goes in at the end.
    for (const Common::Operator& op : std::as_const(m_operatorList))
        m_operators.insert(m_operators.cend(), op.uid, op);
    for (const CoConfig::Computer& computer : std::as_const(m_computers))
        m_arms.insert(m_arms.cend(), computer.uid.value, computer);
    buildIndexes();
}

bool OperatorWorkingSet::sameLayout(const OperatorWorkingSet& other) const
{
    if (m_operatorsRead != other.m_operatorsRead || m_arms.size() != other.m_arms.size() || m_unions != other.m_unions
        || m_operatorList != other.m_operatorList)
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
    const bool sameArms = computers.size() == m_arms.size()
        && std::equal(computers.cbegin(), computers.cend(), m_arms.cbegin(), m_arms.cend(),
                      [](const CoConfig::Computer& a, const CoConfig::Computer& b) { return a.uid == b.uid && a == b; })
        && std::equal(computers.keyBegin(), computers.keyEnd(), m_arms.keyBegin(),
                      [](const CoConfig::ComponentUid<1>& a, int b) { return a.value == b; });
    if (m_operatorsRead == bool(current.readStatus() & CoConfig::ObjectOperators) || !sameArms
        || current.operatorsMap() != m_operators || current.armUnions() != m_unions)
        return false;
    // Nothing edited since the load: the set is already what a load would give.
    if (m_removed.isEmpty() && m_operatorList.size() == m_operators.size() && m_computers.size() == m_arms.size()
        && std::equal(m_operators.cbegin(), m_operators.cend(), m_operatorList.cbegin())
        && std::equal(m_arms.cbegin(), m_arms.cend(), m_computers.cbegin()))
        return true;
    m_operatorList = m_operators.values();
    m_computers = m_arms.values();
    m_removed.clear();
    m_armsOfUnion.clear();
    m_unionsOfArm.clear();
    m_registrationsOf.clear();
    buildIndexes();
    return true;
}

void OperatorWorkingSet::buildIndexes()
{
    m_armsOfUnion.reserve(m_unions.size());
    for (int u = 0; u < m_unions.size(); ++u) {
        QList<int> arms;
        for (int armUid : m_unions.at(u).armUids) {
            if (!m_arms.contains(armUid))
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
    for (auto arm = m_arms.cbegin(); arm != m_arms.cend(); ++arm) {
        for (int operatorUid : arm->registrations)
            ++m_registrationsOf[operatorUid][arm.key()];
    }
}

void OperatorWorkingSet::save(CoConfig::ComplexConfigInterface* store) const
{
    if (!store)
        return;
    // What is already so is left alone: the store then sees those kinds unchanged.
    const CoConfig::ComplexConfigInterface& current = *store;
    if (current.operatorsMap() != m_operators) {
        store->clearOperators();
        for (const Common::Operator& op : m_operators)
            store->addOperator(op);
    }

    // Workstations that this editor knows get its registration maps; on every workstation a
    // registration of an operator removed here is dropped, and so is one whose operator does not
    // exist. When the operators could not be read, nobody knows which exist: those stay.
    const auto gone = [this](int uid) {
        return m_removed.contains(uid) || (m_operatorsRead && !m_operators.contains(uid));
    };
    const auto wanted = [&](const CoConfig::ComponentUid<1>& uid, const QHash<QString, int>& registrations) {
        const auto arm = m_arms.constFind(uid.value);
        return arm != m_arms.cend() ? arm->registrations : registrations;
    };
    const bool settled = std::all_of(current.computers().keyValueBegin(), current.computers().keyValueEnd(),
                                     [&](const auto& computer) {
                                         const QHash<QString, int> registrations =
                                             wanted(computer.first, computer.second.registrations);
                                         return registrations == computer.second.registrations
                                             && std::none_of(registrations.begin(), registrations.end(), gone);
                                     });
    if (settled)
        return;
    auto& computers = store->computers();
    for (auto it = computers.begin(); it != computers.end(); ++it) {
        QHash<QString, int>& registrations = it->registrations;
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
    m_operatorList.clear();
    m_operators.clear();
    m_arms.clear();
    m_armsOfUnion.clear();
    m_unionsOfArm.clear();
    m_registrationsOf.clear();
    m_removed.clear();
    m_operatorsRead = true;
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
    const QHash<int, int> arms = m_registrationsOf.take(uid);
    for (auto armUid = arms.keyBegin(); armUid != arms.keyEnd(); ++armUid) {
        const auto arm = m_arms.find(*armUid);
        if (arm == m_arms.end())
            continue;
        QHash<QString, int>& registrations = arm->registrations;
        for (auto reg = registrations.begin(); reg != registrations.end();) {
            if (reg.value() == uid)
                reg = registrations.erase(reg);
            else
                ++reg;
        }
    }
}

QHash<QString, int> OperatorWorkingSet::registrations(int armUid) const
{
    const auto arm = m_arms.constFind(armUid);
    return arm == m_arms.cend() ? QHash<QString, int>() : arm->registrations;
}

QStringList OperatorWorkingSet::logins(int armUid) const
{
    QStringList result = registrations(armUid).keys();
    std::sort(result.begin(), result.end());
    return result;
}

bool OperatorWorkingSet::isRegistered(int armUid, int operatorUid) const
{
    const auto arms = m_registrationsOf.constFind(operatorUid);
    return arms != m_registrationsOf.cend() && arms->contains(armUid);
}

bool OperatorWorkingSet::registerOperator(int armUid, const QString& login, int operatorUid)
{
    auto arm = m_arms.find(armUid);
    if (arm == m_arms.end() || arm->registrations.contains(login) || !m_operators.contains(operatorUid))
        return false;
    arm->registrations.insert(login, operatorUid);
    ++m_registrationsOf[operatorUid][armUid];
    return true;
}

bool OperatorWorkingSet::unregister(int armUid, const QString& login)
{
    auto arm = m_arms.find(armUid);
    if (arm == m_arms.end() || !arm->registrations.contains(login))
        return false;
    const int operatorUid = arm->registrations.take(login);
    QHash<int, int>& arms = m_registrationsOf[operatorUid];
    if (--arms[armUid] == 0)
        arms.remove(armUid);
    if (arms.isEmpty())
        m_registrationsOf.remove(operatorUid);
    return true;
}

bool OperatorWorkingSet::renameLogin(int armUid, const QString& oldLogin, const QString& newLogin)
{
    auto arm = m_arms.find(armUid);
    if (arm == m_arms.end() || !arm->registrations.contains(oldLogin))
        return false;
    if (oldLogin == newLogin)
        return true;
    if (arm->registrations.contains(newLogin))
        return false;
    arm->registrations.insert(newLogin, arm->registrations.take(oldLogin));
    return true;
}
