#include "commonaddaction.h"

CommonAddAction::CommonAddAction(QObject* parent) : QAction(parent)
{
    setText(tr("Добавить"));
}
