#include "operatorcontextmenu.h"

#include "abstractoperatormodel.h"
#include "basetreeitem.h"
#include "operatorworkingset.h"

OperatorContextMenu::OperatorContextMenu(QWidget* parent) : BaseContextMenu(parent)
{
    connect(this, &BaseContextMenu::Pressed, this, [this](int i) {
        if (i >= 0 && i < m_candidates.size())
            emit ArmTriggerd(m_candidates.at(i));
    });
}

bool OperatorContextMenu::prepare(const AbstractOperatorModel* model, const QModelIndexList& selected)
{
    if (selected.isEmpty())
        return false;
    const int type = model->itemType(selected.first());
    if (type != BaseTreeItem::Operator && type != BaseTreeItem::UnionArm)
        return true;

    const bool one = selected.size() == 1;
    const bool same = allOfFirstType(model, selected);
    action(Edit)->setEnabled(one);
    action(AddNew)->setEnabled(true);
    action(AddMenu)->setEnabled(one);
    action(Remove)->setEnabled(same);
    action(Copy)->setEnabled(type == BaseTreeItem::UnionArm && same);
    action(Paste)->setEnabled(one);

    m_candidates.clear();
    QStringList texts;
    Common::Operator op;
    const OperatorWorkingSet* set = model->workingSet();
    if (model->operatorOf(selected.first(), op)) {
        for (const CoConfig::Computer& computer : set->computers()) {
            const int armUid = computer.uid.value;
            if (set->isRegistered(armUid, op.uid))
                continue;
            for (int u : set->unionsOf(armUid)) {
                const UnionArm candidate{set->arm(armUid), set->unions().at(u)};
                m_candidates << candidate;
                texts << candidate.armUnion.name + QStringLiteral(" / ") + candidate.arm.name;
            }
        }
    }
    setCandidates(texts);
    return true;
}
