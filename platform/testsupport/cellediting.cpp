#include "cellediting.h"

#include <QAbstractItemView>
#include <QTest>

namespace CellEditing {

QWidget* openByDoubleClick(QAbstractItemView* view, const QModelIndex& index)
{
    if (!view->isVisible()) {
        // The view may sit in a page: the page's window is what is shown.
        QWidget* window = view->window();
        window->resize(800, 400);
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            return nullptr;
    }
    view->scrollTo(index);
    const QPoint center = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, center);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, center);
    return view->indexWidget(index);
}

} // namespace CellEditing
