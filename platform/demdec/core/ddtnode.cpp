#include "ddtnode.h"

#include "ddtnames.h"

#include <algorithm>

namespace DemDecData {

DdtNode::DdtNode(Kind kind, const QStringList& values)
    : m_kind(kind)
    , m_values(values.mid(0, attributeNames(kind).size()))
{
    while (m_values.size() < attributeNames(kind).size())
        m_values.append(QString());
}

const QStringList& DdtNode::attributeNames(Kind kind)
{
    static const QStringList none;
    switch (kind) {
    case Kind::Processing:
        return Names::taskAttributes();
    case Kind::Results:
        return Names::resultAttributes();
    case Kind::Root:
        break;
    }
    return none;
}

QString DdtNode::attribute(const QString& name) const
{
    const int index = attributeNames().indexOf(name);
    return index < 0 ? QString() : m_values.at(index);
}

bool DdtNode::setAttribute(int index, const QString& value)
{
    if (index < 0 || index >= m_values.size() || m_values.at(index) == value)
        return false;
    m_values[index] = value;
    return true;
}

DdtNode* DdtNode::child(int row) const
{
    return row >= 0 && row < childCount() ? m_children[size_t(row)].get() : nullptr;
}

int DdtNode::row() const
{
    if (!m_parent)
        return 0;
    const auto& siblings = m_parent->m_children;
    const auto it = std::find_if(siblings.begin(), siblings.end(),
                                 [this](const std::unique_ptr<DdtNode>& node) { return node.get() == this; });
    return int(it - siblings.begin());
}

int DdtNode::processingDepth() const
{
    int depth = 0;
    for (const DdtNode* node = this; node; node = node->m_parent)
        depth += node->m_kind == Kind::Processing ? 1 : 0;
    return depth;
}

int DdtNode::processingHeight() const
{
    int below = 0;
    for (const auto& child : m_children)
        below = std::max(below, child->processingHeight());
    return below + (m_kind == Kind::Processing ? 1 : 0);
}

bool DdtNode::sameTree(const DdtNode& other) const
{
    if (m_kind != other.m_kind || m_values != other.m_values || m_children.size() != other.m_children.size())
        return false;
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (!m_children[i]->sameTree(*other.m_children[i]))
            return false;
    }
    return true;
}

bool DdtNode::canHold(Kind childKind) const
{
    switch (m_kind) {
    case Kind::Root:
        return childKind == Kind::Processing;
    case Kind::Processing:
        return childKind != Kind::Root;
    case Kind::Results:
        break;
    }
    return false;
}

DdtNode* DdtNode::insertChild(int row, std::unique_ptr<DdtNode> child)
{
    if (!child || !canHold(child->kind()))
        return nullptr;
    row = std::clamp(row, 0, childCount());
    child->m_parent = this;
    DdtNode* inserted = child.get();
    m_children.insert(m_children.begin() + row, std::move(child));
    return inserted;
}

std::unique_ptr<DdtNode> DdtNode::takeChild(int row)
{
    if (row < 0 || row >= childCount())
        return nullptr;
    std::unique_ptr<DdtNode> taken = std::move(m_children[size_t(row)]);
    m_children.erase(m_children.begin() + row);
    taken->m_parent = nullptr;
    return taken;
}

} // namespace DemDecData
