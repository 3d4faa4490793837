#include "commonremoveaction.h"

CommonRemoveAction::CommonRemoveAction(QObject* parent) : QAction(parent)
{
    setText(tr("Удалить"));
}
