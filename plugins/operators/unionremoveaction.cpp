#include "unionremoveaction.h"

#include <QIcon>

UnionRemoveAction::UnionRemoveAction(QObject* parent) : QAction(tr("Удалить"), parent)
{
    setIcon(QIcon(QStringLiteral(":/icons/common/remove.png")));
}
