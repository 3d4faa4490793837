#include "operatorsmodel.h"

#include "operatoritem.h"
#include "operatorworkingset.h"
#include "unionarmitem.h"

OperatorsModel::OperatorsModel(OperatorWorkingSet* workingSet, QObject* parent)
    : AbstractOperatorModel({tr("ФИО / АРМ"), tr("Должность"), tr("Звание"), tr("Логин")}, workingSet, parent)
{
    build();
}

void OperatorsModel::build()
{
    const OperatorWorkingSet* set = workingSet();
    for (const Common::Operator& op : set->operators()) {
        auto* item = new OperatorItem(op.uid, set);
        root()->appendChild(item);
        m_operatorItems.insert(op.uid, item);
    }
    // One pass over the unions puts every registration under its operator, in the order of
    // the unions, of their workstations and of the logins.
    for (int u = 0; u < set->unions().size(); ++u) {
        for (int armUid : set->armsOf(u)) {
            const CoConfig::Registrations registrations = set->registrations(armUid); // in login order
            for (auto it = registrations.cbegin(); it != registrations.cend(); ++it) {
                if (OperatorItem* parent = m_operatorItems.value(it.value()))
                    parent->appendChild(new UnionArmItem(u, armUid, it.key(), set));
            }
        }
    }
}

void OperatorsModel::addOperator(const Common::Operator& op)
{
    if (!workingSet()->addOperator(op))
        return;
    auto* item = new OperatorItem(op.uid, workingSet());
    m_operatorItems.insert(op.uid, item);
    appendItem(root(), item);
}

void OperatorsModel::addOperatorToArm(int armUid, const Common::Operator& op, const QString& login)
{
    OperatorWorkingSet* set = workingSet();
    if (!set->hasArm(armUid) || set->registrations(armUid).contains(login))
        return;
    addOperator(op);
    if (!set->registerOperator(armUid, login, op.uid))
        return;
    OperatorItem* parent = m_operatorItems.value(op.uid);
    for (int u : set->unionsOf(armUid))
        appendItem(parent, new UnionArmItem(u, armUid, login, set));
}

bool OperatorsModel::operatorOf(const QModelIndex& index, Common::Operator& op) const
{
    const BaseTreeItem* item = itemFromIndex(index);
    if (item && item->type() == BaseTreeItem::UnionArm)
        item = item->parent();
    if (!item || item->type() != BaseTreeItem::Operator)
        return false;
    op = workingSet()->operatorByUid(static_cast<const OperatorItem*>(item)->operatorUid());
    return true;
}

bool OperatorsModel::armOf(const QModelIndex& index, CoConfig::Computer& arm) const
{
    const UnionArmItem* item = registrationItem(index);
    if (!item)
        return false;
    arm = workingSet()->arm(item->armUid());
    return true;
}

bool OperatorsModel::unionOf(const QModelIndex& index, CoConfig::ArmUnion& armUnion) const
{
    const UnionArmItem* item = registrationItem(index);
    if (!item)
        return false;
    armUnion = workingSet()->unions().value(item->unionIndex());
    return true;
}

bool OperatorsModel::loginOf(const QModelIndex& index, QString& login) const
{
    const UnionArmItem* item = registrationItem(index);
    if (!item)
        return false;
    login = item->login();
    return true;
}

void OperatorsModel::updateOperator(const Common::Operator& op)
{
    if (workingSet()->updateOperator(op))
        itemChanged(m_operatorItems.value(op.uid));
}

void OperatorsModel::updateLogin(const QModelIndex& index, const QString& login)
{
    UnionArmItem* item = registrationItem(index);
    if (!item || !workingSet()->renameLogin(item->armUid(), item->login(), login))
        return;
    for (BaseTreeItem* twin : twins(item)) {
        static_cast<UnionArmItem*>(twin)->setLogin(login);
        itemChanged(twin);
    }
}

bool OperatorsModel::remove(const QModelIndex& index)
{
    BaseTreeItem* item = itemFromIndex(index);
    if (!item)
        return false;
    if (item->type() == BaseTreeItem::UnionArm) {
        auto* registration = static_cast<UnionArmItem*>(item);
        workingSet()->unregister(registration->armUid(), registration->login());
        for (BaseTreeItem* twin : twins(registration))
            removeItem(twin);
        return true;
    }
    if (item->type() == BaseTreeItem::Operator) {
        const int uid = static_cast<OperatorItem*>(item)->operatorUid();
        workingSet()->removeOperator(uid);
        m_operatorItems.remove(uid);
        removeItem(item);
        return true;
    }
    return false;
}

bool OperatorsModel::canCopy(const QModelIndex& index) const
{
    return itemType(index) == BaseTreeItem::UnionArm;
}

UnionArmItem* OperatorsModel::registrationItem(const QModelIndex& index) const
{
    BaseTreeItem* item = itemFromIndex(index);
    return item && item->type() == BaseTreeItem::UnionArm ? static_cast<UnionArmItem*>(item) : nullptr;
}

QList<BaseTreeItem*> OperatorsModel::twins(const UnionArmItem* item) const
{
    QList<BaseTreeItem*> result;
    const int armUid = item->armUid();
    const QString login = item->login();
    for (BaseTreeItem* sibling : item->parent()->children()) {
        auto* other = static_cast<UnionArmItem*>(sibling);
        if (other->armUid() == armUid && other->login() == login)
            result << sibling;
    }
    return result;
}
