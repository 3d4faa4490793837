#include "aboutaction.h"

AboutAction::AboutAction(QObject* parent)
    : QAction(parent)
{
    setText(tr("О программе"));
    setStatusTip(tr("О программе"));
}

AboutAction::~AboutAction() = default;
