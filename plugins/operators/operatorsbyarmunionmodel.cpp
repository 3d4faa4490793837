#include "operatorsbyarmunionmodel.h"

#include "armitem.h"
#include "operatorunionitem.h"
#include "operatorworkingset.h"
#include "unionitem.h"

OperatorsByArmUnionModel::OperatorsByArmUnionModel(OperatorWorkingSet* workingSet, QObject* parent)
    : AbstractOperatorModel({tr("Объединение / АРМ / ФИО"), tr("Должность"), tr("Звание"), tr("Логин")},
                            workingSet, parent)
{
    build();
}

void OperatorsByArmUnionModel::build()
{
    const OperatorWorkingSet* set = workingSet();
    for (int u = 0; u < set->unions().size(); ++u) {
        auto* unionItem = new UnionItem(u, set);
        root()->appendChild(unionItem);
        for (int armUid : set->armsOf(u)) {
            auto* armItem = new ArmItem(u, armUid, set);
            unionItem->appendChild(armItem);
            m_armItems[armUid] << armItem;
            const CoConfig::Registrations registrations = set->registrations(armUid); // in login order
            for (auto it = registrations.cbegin(); it != registrations.cend(); ++it) {
                const int operatorUid = it.value();
                if (!set->hasOperator(operatorUid))
                    continue;
                auto* item = new OperatorUnionItem(operatorUid, it.key(), set);
                armItem->appendChild(item);
                m_operatorRows[operatorUid] << item;
            }
        }
    }
}

void OperatorsByArmUnionModel::addOperatorToArm(int armUid, const Common::Operator& op, const QString& login)
{
    OperatorWorkingSet* set = workingSet();
    if (!set->hasArm(armUid) || set->registrations(armUid).contains(login))
        return;
    addOperator(op);
    if (!set->registerOperator(armUid, login, op.uid))
        return;
    for (ArmItem* armItem : m_armItems.value(armUid)) {
        auto* item = new OperatorUnionItem(op.uid, login, set);
        appendItem(armItem, item);
        m_operatorRows[op.uid] << item;
    }
}

bool OperatorsByArmUnionModel::operatorOf(const QModelIndex& index, Common::Operator& op) const
{
    const OperatorUnionItem* item = registrationItem(index);
    if (!item)
        return false;
    op = workingSet()->operatorByUid(item->operatorUid());
    return true;
}

bool OperatorsByArmUnionModel::armOf(const QModelIndex& index, CoConfig::Computer& arm) const
{
    const int type = itemType(index);
    if (type != BaseTreeItem::Arm && type != BaseTreeItem::OperatorUnion)
        return false;
    arm = workingSet()->arm(armUidOf(itemFromIndex(index)));
    return true;
}

bool OperatorsByArmUnionModel::unionOf(const QModelIndex& index, CoConfig::ArmUnion& armUnion) const
{
    const BaseTreeItem* item = itemFromIndex(index);
    while (item && item->type() != BaseTreeItem::Union)
        item = item->parent();
    if (!item)
        return false;
    armUnion = workingSet()->unions().value(static_cast<const UnionItem*>(item)->unionIndex());
    return true;
}

bool OperatorsByArmUnionModel::loginOf(const QModelIndex& index, QString& login) const
{
    const OperatorUnionItem* item = registrationItem(index);
    if (!item)
        return false;
    login = item->login();
    return true;
}

void OperatorsByArmUnionModel::updateOperator(const Common::Operator& op)
{
    if (!workingSet()->updateOperator(op))
        return;
    for (OperatorUnionItem* item : m_operatorRows.value(op.uid))
        itemChanged(item);
}

void OperatorsByArmUnionModel::updateLogin(const QModelIndex& index, const QString& login)
{
    OperatorUnionItem* item = registrationItem(index);
    if (!item)
        return;
    const int armUid = armUidOf(item);
    const QString oldLogin = item->login();
    if (!workingSet()->renameLogin(armUid, oldLogin, login))
        return;
    for (OperatorUnionItem* twin : registrationItems(armUid, oldLogin)) {
        twin->setLogin(login);
        itemChanged(twin);
    }
}

bool OperatorsByArmUnionModel::remove(const QModelIndex& index)
{
    OperatorUnionItem* item = registrationItem(index);
    if (!item)
        return false;
    const int armUid = armUidOf(item);
    const QString login = item->login();
    workingSet()->unregister(armUid, login);
    for (OperatorUnionItem* twin : registrationItems(armUid, login)) {
        QList<OperatorUnionItem*>& rows = m_operatorRows[twin->operatorUid()];
        rows.removeOne(twin);
        if (rows.isEmpty())
            m_operatorRows.remove(twin->operatorUid());
        removeItem(twin);
    }
    return true;
}

void OperatorsByArmUnionModel::paste(const QList<QPersistentModelIndex>& copied, const QModelIndex& target)
{
    const int targetType = itemType(target);
    if (targetType != BaseTreeItem::Arm && targetType != BaseTreeItem::OperatorUnion)
        return;
    const int armUid = armUidOf(itemFromIndex(target));

    // Read every copy before the tree changes under the persistent indexes.
    QList<QPair<Common::Operator, QString>> registrations;
    for (const QPersistentModelIndex& index : copied) {
        if (!index.isValid() || index.model() != this)
            continue;
        Common::Operator op;
        QString login;
        if (operatorOf(index, op) && loginOf(index, login))
            registrations.append({op, login});
    }
    for (const auto& registration : std::as_const(registrations)) {
        if (!workingSet()->registrations(armUid).contains(registration.second))
            addOperatorToArm(armUid, registration.first, registration.second);
    }
}

bool OperatorsByArmUnionModel::canCopy(const QModelIndex& index) const
{
    return itemType(index) == BaseTreeItem::OperatorUnion;
}

OperatorUnionItem* OperatorsByArmUnionModel::registrationItem(const QModelIndex& index) const
{
    BaseTreeItem* item = itemFromIndex(index);
    return item && item->type() == BaseTreeItem::OperatorUnion ? static_cast<OperatorUnionItem*>(item) : nullptr;
}

int OperatorsByArmUnionModel::armUidOf(const BaseTreeItem* item) const
{
    if (item && item->type() == BaseTreeItem::OperatorUnion)
        item = item->parent();
    return item && item->type() == BaseTreeItem::Arm ? static_cast<const ArmItem*>(item)->armUid() : -1;
}

QList<OperatorUnionItem*> OperatorsByArmUnionModel::registrationItems(int armUid, const QString& login) const
{
    QList<OperatorUnionItem*> result;
    for (const ArmItem* armItem : m_armItems.value(armUid)) {
        for (BaseTreeItem* child : armItem->children()) {
            auto* registration = static_cast<OperatorUnionItem*>(child);
            if (registration->login() == login)
                result << registration;
        }
    }
    return result;
}
