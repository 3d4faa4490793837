#pragma once

#include "abstractoperatormodel.h"

#include <QHash>

class OperatorItem;
class UnionArmItem;

// Grouped by operator: each operator with its registrations, one per union that lists the
// workstation.
class OperatorsModel : public AbstractOperatorModel
{
    Q_OBJECT

public:
    explicit OperatorsModel(OperatorWorkingSet* workingSet, QObject* parent = nullptr);

    void addOperator(const Common::Operator& op) override;
    void addOperatorToArm(int armUid, const Common::Operator& op, const QString& login) override;
    bool operatorOf(const QModelIndex& index, Common::Operator& op) const override;
    bool armOf(const QModelIndex& index, CoConfig::Computer& arm) const override;
    bool unionOf(const QModelIndex& index, CoConfig::ArmUnion& armUnion) const override;
    bool loginOf(const QModelIndex& index, QString& login) const override;
    void updateOperator(const Common::Operator& op) override;
    void updateLogin(const QModelIndex& index, const QString& login) override;
    bool remove(const QModelIndex& index) override;
    bool canCopy(const QModelIndex& index) const override;

private:
    void build();
    UnionArmItem* registrationItem(const QModelIndex& index) const;
    // Every item under the operator that shows the workstation's login.
    QList<BaseTreeItem*> twins(const UnionArmItem* item) const;

    QHash<int, OperatorItem*> m_operatorItems;
};
