#include "unionaddaction.h"

#include <QIcon>

UnionAddAction::UnionAddAction(QObject* parent) : QAction(tr("Новый оператор"), parent)
{
    setIcon(QIcon(QStringLiteral(":/icons/common/add.png")));
}
