#include "unioncopyaction.h"

#include <QIcon>

UnionCopyAction::UnionCopyAction(QObject* parent) : QAction(tr("Копировать"), parent)
{
    setIcon(QIcon(QStringLiteral(":/icons/common/copy.png")));
}
