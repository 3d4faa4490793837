#pragma once

#include "abstractoperatormodel.h"

#include <QHash>

class ArmItem;
class OperatorUnionItem;

// Grouped by union: unions, their workstations, and the operators registered on each.
class OperatorsByArmUnionModel : public AbstractOperatorModel
{
    Q_OBJECT

public:
    explicit OperatorsByArmUnionModel(OperatorWorkingSet* workingSet, QObject* parent = nullptr);

    void addOperatorToArm(int armUid, const Common::Operator& op, const QString& login) override;
    bool operatorOf(const QModelIndex& index, Common::Operator& op) const override;
    bool armOf(const QModelIndex& index, CoConfig::Computer& arm) const override;
    bool unionOf(const QModelIndex& index, CoConfig::ArmUnion& armUnion) const override;
    bool loginOf(const QModelIndex& index, QString& login) const override;
    void updateOperator(const Common::Operator& op) override;
    void updateLogin(const QModelIndex& index, const QString& login) override;
    bool remove(const QModelIndex& index) override;
    // Registers each copied operator on the target's workstation under its login, skipping
    // logins that the workstation already holds.
    void paste(const QList<QPersistentModelIndex>& copied, const QModelIndex& target) override;
    bool canCopy(const QModelIndex& index) const override;

private:
    void build();
    OperatorUnionItem* registrationItem(const QModelIndex& index) const;
    // The workstation uid of a workstation item or of a registration under one; -1 otherwise.
    int armUidOf(const BaseTreeItem* item) const;
    // Every item, under any union, that shows the workstation's login.
    QList<OperatorUnionItem*> registrationItems(int armUid, const QString& login) const;

    // Workstation uid -> its item under each union that lists it.
    QHash<int, QList<ArmItem*>> m_armItems;
    // Operator uid -> every item showing one of its registrations.
    QHash<int, QList<OperatorUnionItem*>> m_operatorRows;
};
