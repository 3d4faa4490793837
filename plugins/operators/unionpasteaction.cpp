#include "unionpasteaction.h"

#include <QIcon>

UnionPasteAction::UnionPasteAction(QObject* parent) : QAction(tr("Вставить"), parent)
{
    setIcon(QIcon(QStringLiteral(":/icons/common/paste.png")));
}
