#pragma once

#include "basecontextmenu.h"
#include "records.h"

// Context menu grouped by union; its sub-menu offers the operators not yet registered on the
// selected workstation.
class UnionContextMenu : public BaseContextMenu
{
    Q_OBJECT

public:
    explicit UnionContextMenu(QWidget* parent = nullptr);

    bool prepare(const AbstractOperatorModel* model, const QModelIndexList& selected) override;

Q_SIGNALS:
    void OpTriggered(const Common::Operator& Operator);

private:
    QList<Common::Operator> m_candidates;
};
