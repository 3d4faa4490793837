#include "cellediting.h"

#include <QAbstractItemView>
#include <QTest>

namespace CellEditing {

QWidget* openByDoubleClick(QAbstractItemView* view, const QModelIndex& index)
{
    if (!view->isVisible()) {
        view->resize(800, 400);
        view->show();
        if (!QTest::qWaitForWindowExposed(view))
            return nullptr;
    }
    const QPoint center = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, center);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, center);
    return view->indexWidget(index);
}

} // namespace CellEditing
