#pragma once

#include "ddtnode.h"

#include <QAbstractItemModel>

#include <memory>

namespace DemDecData {

// A demodulation tree for a view: one top row for the root, the nodes below it. Columns: the
// node's title and its id. Edits go through appendNode, removeNode and setAttribute.
class DdtTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit DdtTreeModel(int maxDepth, QObject* parent = nullptr);
    ~DdtTreeModel() override;

    void setRoot(std::unique_ptr<DdtNode> root, const QString& title = QString());
    const DdtNode* root() const { return m_root.get(); }
    int maxDepth() const { return m_maxDepth; }

    DdtNode* node(const QModelIndex& index) const;
    QModelIndex indexOf(const DdtNode* node) const;

    // Whether a node of this kind may go under the node at parent (kinds and depth allow it).
    bool canAppend(const QModelIndex& parent, DdtNode::Kind kind) const;
    // The new node's index; invalid when canAppend says no.
    QModelIndex appendNode(const QModelIndex& parent, std::unique_ptr<DdtNode> child);
    // Removes a node with everything below it; the root cannot be removed.
    bool removeNode(const QModelIndex& index);
    bool setAttribute(const QModelIndex& index, int attribute, const QString& value);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString title(const DdtNode& node) const;

    std::unique_ptr<DdtNode> m_root;
    QString m_rootTitle;
    int m_maxDepth;
};

} // namespace DemDecData
