#include "operatorworkingset.h"

#include "complexconfiginterface.h"

#include <algorithm>

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
    store->read(CoConfig::ObjectComputers);
    store->read(CoConfig::ObjectArmUnions);
    store->read(CoConfig::ObjectOperators);

    m_unions = store->armUnions();
    m_computers = store->computers().values();
    m_operatorList = store->operators();
    for (const Common::Operator& op : std::as_const(m_operatorList))
        m_operators.insert(op.uid, op);
    for (const CoConfig::Computer& computer : std::as_const(m_computers))
        m_arms.insert(computer.uid.value, computer);
}

void OperatorWorkingSet::save(CoConfig::ComplexConfigInterface* store) const
{
    if (!store)
        return;
    store->clearOperators();
    for (const Common::Operator& op : m_operators)
        store->addOperator(op);

    // Workstations that this editor knows get its registration maps; on every workstation a
    // registration whose operator no longer exists is dropped.
    auto& computers = store->computers();
    for (auto it = computers.begin(); it != computers.end(); ++it) {
        QHash<QString, int>& registrations = it->registrations;
        if (m_arms.contains(it.key().value))
            registrations = m_arms.value(it.key().value).registrations;
        for (auto reg = registrations.begin(); reg != registrations.end();) {
            if (m_operators.contains(reg.value()))
                ++reg;
            else
                reg = registrations.erase(reg);
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
}

bool OperatorWorkingSet::addOperator(const Common::Operator& op)
{
    if (m_operators.contains(op.uid))
        return false;
    m_operators.insert(op.uid, op);
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
    m_operators.remove(uid);
    for (CoConfig::Computer& computer : m_arms) {
        for (auto reg = computer.registrations.begin(); reg != computer.registrations.end();) {
            if (reg.value() == uid)
                reg = computer.registrations.erase(reg);
            else
                ++reg;
        }
    }
}

QStringList OperatorWorkingSet::logins(int armUid) const
{
    QStringList result = m_arms.value(armUid).registrations.keys();
    std::sort(result.begin(), result.end());
    return result;
}

bool OperatorWorkingSet::isRegistered(int armUid, int operatorUid) const
{
    const auto registrations = m_arms.value(armUid).registrations;
    return std::find(registrations.cbegin(), registrations.cend(), operatorUid) != registrations.cend();
}

bool OperatorWorkingSet::registerOperator(int armUid, const QString& login, int operatorUid)
{
    auto arm = m_arms.find(armUid);
    if (arm == m_arms.end() || arm->registrations.contains(login) || !m_operators.contains(operatorUid))
        return false;
    arm->registrations.insert(login, operatorUid);
    return true;
}

bool OperatorWorkingSet::unregister(int armUid, const QString& login)
{
    auto arm = m_arms.find(armUid);
    return arm != m_arms.end() && arm->registrations.remove(login);
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

QList<int> OperatorWorkingSet::unionsOf(int armUid) const
{
    QList<int> result;
    for (int i = 0; i < m_unions.size(); ++i) {
        if (m_unions.at(i).armUids.contains(armUid))
            result << i;
    }
    return result;
}
