#include "unioncollapseaction.h"

UnionCollapseAction::UnionCollapseAction(QObject* parent) : QAction(tr("Свернуть все"), parent)
{
}
