#pragma once

#include <QList>
#include <QVariant>
#include <Qt>

class OperatorWorkingSet;

// A node of the operator trees. Items keep uids and look their texts up in the working set,
// so they never hold on to records that an edit replaced. Each item knows its row, so that
// the index of any item is found without searching its siblings.
class BaseTreeItem
{
public:
    enum Type {
        VerticalHeader = 1,
        Operator = 2,
        UnionArm = 3,
        Union = 4,
        Arm = 5,
        OperatorUnion = 6
    };
    enum Column { NameColumn = 0, PostColumn = 1, RankColumn = 2, LoginColumn = 3, ColumnCount = 4 };

    BaseTreeItem(int type, const OperatorWorkingSet* workingSet);
    virtual ~BaseTreeItem();
    BaseTreeItem(const BaseTreeItem&) = delete;
    BaseTreeItem& operator=(const BaseTreeItem&) = delete;

    virtual QVariant data(int column) const = 0;
    virtual Qt::ItemFlags flags(int column) const;

    int type() const { return m_type; }
    BaseTreeItem* parent() const { return m_parent; }
    BaseTreeItem* child(int row) const { return m_children.value(row); }
    int childCount() const { return m_children.size(); }
    const QList<BaseTreeItem*>& children() const { return m_children; }
    int row() const { return m_row; }

    void appendChild(BaseTreeItem* item); // takes ownership
    void deleteChild(int row);

protected:
    const OperatorWorkingSet* workingSet() const { return m_workingSet; }

private:
    int m_type;
    const OperatorWorkingSet* m_workingSet;
    BaseTreeItem* m_parent = nullptr;
    int m_row = 0;
    QList<BaseTreeItem*> m_children;
};
