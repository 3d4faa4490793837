#include "unioneditaction.h"

#include <QIcon>

UnionEditAction::UnionEditAction(QObject* parent) : QAction(tr("Редактировать"), parent)
{
    setIcon(QIcon(QStringLiteral(":/icons/common/edit.png")));
}
