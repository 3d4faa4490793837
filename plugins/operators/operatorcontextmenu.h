#pragma once

#include "basecontextmenu.h"
#include "records.h"

// Context menu grouped by operator; its sub-menu offers the workstations, through each union
// that lists them, where the selected operator is not registered yet.
class OperatorContextMenu : public BaseContextMenu
{
    Q_OBJECT

public:
    // A workstation together with the union through which it was reached.
    struct UnionArm
    {
        CoConfig::Computer arm;
        CoConfig::ArmUnion armUnion;
    };

    explicit OperatorContextMenu(QWidget* parent = nullptr);

    bool prepare(const AbstractOperatorModel* model, const QModelIndexList& selected) override;

Q_SIGNALS:
    void ArmTriggerd(const OperatorContextMenu::UnionArm& UnionA);

private:
    QList<UnionArm> m_candidates;
};
