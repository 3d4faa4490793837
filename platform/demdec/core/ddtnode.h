#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace DemDecData {

// One node of a demodulation tree. The root stands for the input signal; a processing node
// applies a demodulator or decoder to its parent's output; a results node names an output.
// Attribute values are kept in the order of the kind's attribute names.
class DdtNode
{
public:
    enum class Kind { Root, Processing, Results };

    explicit DdtNode(Kind kind, const QStringList& values = {});
    DdtNode(const DdtNode&) = delete;
    DdtNode& operator=(const DdtNode&) = delete;

    Kind kind() const { return m_kind; }
    static const QStringList& attributeNames(Kind kind);
    const QStringList& attributeNames() const { return attributeNames(m_kind); }

    const QStringList& values() const { return m_values; }
    QString attribute(const QString& name) const;
    bool setAttribute(int index, const QString& value);

    DdtNode* parent() const { return m_parent; }
    int childCount() const { return int(m_children.size()); }
    DdtNode* child(int row) const;
    int row() const;
    // Number of processing nodes from the root down to this one, this one included.
    int processingDepth() const;
    // Depth of the deepest processing chain below and including this node.
    int processingHeight() const;

    // Same kind and values, and the same below.
    bool sameTree(const DdtNode& other) const;

    bool canHold(Kind childKind) const;
    DdtNode* insertChild(int row, std::unique_ptr<DdtNode> child);
    std::unique_ptr<DdtNode> takeChild(int row);

private:
    Kind m_kind;
    QStringList m_values;
    DdtNode* m_parent = nullptr;
    std::vector<std::unique_ptr<DdtNode>> m_children;
};

} // namespace DemDecData
