#include "commonclearaction.h"

CommonClearAction::CommonClearAction(QObject* parent) : QAction(parent)
{
    setText(tr("Очистить"));
}
