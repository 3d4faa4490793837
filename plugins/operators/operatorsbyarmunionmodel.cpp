#include "operatorsbyarmunionmodel.h"

#include "armitem.h"
#include "operatorunionitem.h"
#include "operatorworkingset.h"
#include "unionitem.h"

#include <QSet>

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
        QSet<int> seen;
        for (int armUid : set->unions().at(u).armUids) {
            if (!set->hasArm(armUid) || seen.contains(armUid))
                continue;
            seen.insert(armUid);
            auto* armItem = new ArmItem(u, armUid, set);
            unionItem->appendChild(armItem);
            const QHash<QString, int> registrations = set->arm(armUid).registrations;
            for (const QString& login : set->logins(armUid)) {
                const int operatorUid = registrations.value(login);
                if (set->hasOperator(operatorUid))
                    armItem->appendChild(new OperatorUnionItem(operatorUid, login, set));
            }
        }
    }
}

void OperatorsByArmUnionModel::addOperatorToArm(int armUid, const Common::Operator& op, const QString& login)
{
    OperatorWorkingSet* set = workingSet();
    if (!set->hasArm(armUid) || set->arm(armUid).registrations.contains(login))
        return;
    addOperator(op);
    if (!set->registerOperator(armUid, login, op.uid))
        return;
    for (BaseTreeItem* armItem : armItems(armUid))
        appendItem(armItem, new OperatorUnionItem(op.uid, login, set));
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
    const auto items = findItems([&op](const BaseTreeItem* item) {
        return item->type() == BaseTreeItem::OperatorUnion
            && static_cast<const OperatorUnionItem*>(item)->operatorUid() == op.uid;
    });
    for (BaseTreeItem* item : items)
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
    for (BaseTreeItem* twin : registrationItems(armUid, oldLogin)) {
        static_cast<OperatorUnionItem*>(twin)->setLogin(login);
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
    for (BaseTreeItem* twin : registrationItems(armUid, login))
        removeItem(twin);
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
        if (!workingSet()->arm(armUid).registrations.contains(registration.second))
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

QList<BaseTreeItem*> OperatorsByArmUnionModel::armItems(int armUid) const
{
    return findItems([armUid](const BaseTreeItem* item) {
        return item->type() == BaseTreeItem::Arm && static_cast<const ArmItem*>(item)->armUid() == armUid;
    });
}

QList<BaseTreeItem*> OperatorsByArmUnionModel::registrationItems(int armUid, const QString& login) const
{
    QList<BaseTreeItem*> result;
    for (BaseTreeItem* armItem : armItems(armUid)) {
        for (BaseTreeItem* child : armItem->children()) {
            if (static_cast<OperatorUnionItem*>(child)->login() == login)
                result << child;
        }
    }
    return result;
}
