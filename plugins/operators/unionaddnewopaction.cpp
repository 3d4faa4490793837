#include "unionaddnewopaction.h"

UnionAddNewOpAction::UnionAddNewOpAction(const QString& text, int index, QObject* parent)
    : QAction(text, parent), m_index(index)
{
}
