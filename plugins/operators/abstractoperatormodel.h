#pragma once

#include "records.h"

#include <QAbstractItemModel>
#include <QList>
#include <QPersistentModelIndex>
#include <QStringList>

class BaseTreeItem;
class OperatorWorkingSet;

// A tree over the working set. Derived models build the items and keep them in step with
// every edit they make to the working set.
class AbstractOperatorModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    AbstractOperatorModel(const QStringList& headers, OperatorWorkingSet* workingSet, QObject* parent = nullptr);
    ~AbstractOperatorModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // BaseTreeItem::Type of the item, 0 for an invalid index.
    int itemType(const QModelIndex& index) const;
    OperatorWorkingSet* workingSet() const { return m_workingSet; }

    // Stores a copy of an operator whose uid is not yet known; does nothing otherwise.
    virtual void addOperator(const Common::Operator& op);
    // Registers the operator on the workstation under a login the workstation does not hold yet.
    virtual void addOperatorToArm(int armUid, const Common::Operator& op, const QString& login) = 0;
    virtual bool operatorOf(const QModelIndex& index, Common::Operator& op) const = 0;
    virtual bool armOf(const QModelIndex& index, CoConfig::Computer& arm) const = 0;
    virtual bool unionOf(const QModelIndex& index, CoConfig::ArmUnion& armUnion) const = 0;
    bool armAndUnionOf(const QModelIndex& index, CoConfig::Computer& arm, CoConfig::ArmUnion& armUnion) const;
    virtual bool loginOf(const QModelIndex& index, QString& login) const = 0;
    virtual void updateOperator(const Common::Operator& op) = 0;
    // Renames the registration shown by the item; every item showing it follows.
    virtual void updateLogin(const QModelIndex& index, const QString& login) = 0;
    // True when the item (and the data behind it) was removed.
    virtual bool remove(const QModelIndex& index) = 0;
    virtual void paste(const QList<QPersistentModelIndex>& copied, const QModelIndex& target);
    virtual bool canCopy(const QModelIndex& index) const = 0;

    // Every row read again, the tree as it is (its set now holds other names and the like).
    void rowsShownAnew();

protected:
    BaseTreeItem* root() const { return m_root; }
    BaseTreeItem* itemFromIndex(const QModelIndex& index) const;
    QModelIndex indexOf(const BaseTreeItem* item, int column = 0) const;
    void appendItem(BaseTreeItem* parent, BaseTreeItem* item);
    void removeItem(BaseTreeItem* item);
    void itemChanged(BaseTreeItem* item);

private:
    OperatorWorkingSet* m_workingSet;
    BaseTreeItem* m_root;
};
