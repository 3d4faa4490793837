#include "openeditors.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMetaObject>

namespace Common {

void commitOpenEditors(QWidget* page)
{
    if (!page)
        return;
    for (QAbstractItemView* view : page->findChildren<QAbstractItemView*>()) {
        // Editors are direct children of the viewport; the view's own commit ignores any child
        // that is not one of its editors.
        const QList<QWidget*> children = view->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            auto* line = qobject_cast<QLineEdit*>(child);
            if (child->isHidden() || (line && !line->hasAcceptableInput()))
                continue;
            QMetaObject::invokeMethod(view, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, child));
        }
    }
}

} // namespace Common
