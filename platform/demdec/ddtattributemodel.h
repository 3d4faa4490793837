#pragma once

#include <QAbstractTableModel>
#include <QPersistentModelIndex>

namespace DemDecData {

class DdtTreeModel;

// The attributes of one node of a DdtTreeModel: a name and an editable value per row. It follows
// the tree: edits go to the tree model, and the table empties when its node goes away. A value
// that a .ddt file cannot hold is refused.
class DdtAttributeModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DdtAttributeModel(DdtTreeModel* tree, QObject* parent = nullptr);

    void setNode(const QModelIndex& treeIndex);
    QModelIndex node() const { return m_node; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    void valueRefused(const QString& attribute);

private:
    void treeDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void treeRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);

    DdtTreeModel* m_tree;
    QPersistentModelIndex m_node;
};

} // namespace DemDecData
