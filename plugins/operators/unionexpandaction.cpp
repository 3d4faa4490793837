#include "unionexpandaction.h"

UnionExpandAction::UnionExpandAction(QObject* parent) : QAction(tr("Развернуть все"), parent)
{
}
