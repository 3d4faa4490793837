#include "unioncontextmenu.h"

#include "abstractoperatormodel.h"
#include "basetreeitem.h"
#include "operatorworkingset.h"

UnionContextMenu::UnionContextMenu(QWidget* parent) : BaseContextMenu(parent)
{
    connect(this, &BaseContextMenu::Pressed, this, [this](int i) {
        if (i >= 0 && i < m_candidates.size())
            emit OpTriggered(m_candidates.at(i));
    });
}

bool UnionContextMenu::prepare(const AbstractOperatorModel* model, const QModelIndexList& selected)
{
    if (selected.isEmpty())
        return false;
    const int type = model->itemType(selected.first());
    const bool one = selected.size() == 1;
    const bool same = allOfFirstType(model, selected);
    const bool arm = type == BaseTreeItem::Arm;
    const bool registration = type == BaseTreeItem::OperatorUnion;

    action(Edit)->setEnabled(registration && one);
    action(AddNew)->setEnabled(arm || registration);
    action(AddMenu)->setEnabled((arm || registration) && one);
    action(Remove)->setEnabled(registration && same);
    action(Copy)->setEnabled(registration && same);
    action(Paste)->setEnabled((arm && same) || (registration && one));

    m_candidates.clear();
    QStringList texts;
    CoConfig::Computer computer;
    const OperatorWorkingSet* set = model->workingSet();
    if ((arm || registration) && model->armOf(selected.first(), computer)) {
        for (const Common::Operator& op : set->operators()) {
            if (set->isRegistered(computer.uid.value, op.uid))
                continue;
            m_candidates << op;
            texts << OperatorWorkingSet::fullName(op);
        }
    }
    setCandidates(texts);
    return true;
}
