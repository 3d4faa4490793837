#include "editorwindow.h"

#include "orvane.h"

#include <QAbstractItemView>
#include <QTabWidget>

namespace EditorWindow {

int openTab(Orvane& window, const QString& title)
{
    for (int tab = 0; tab < window.tabWidget()->count(); ++tab) {
        QString text = window.tabWidget()->tabText(tab);
        if (text.endsWith(QLatin1String(" *")))
            text.chop(2);
        if (text == title) {
            window.tabWidget()->setCurrentIndex(tab);
            return tab;
        }
    }
    return -1;
}

QAbstractItemView* currentView(const Orvane& window)
{
    QWidget* page = window.tabWidget()->currentWidget();
    if (!page)
        return nullptr;
    for (QAbstractItemView* view : page->findChildren<QAbstractItemView*>()) {
        if (view->isVisible())
            return view;
    }
    return nullptr;
}

int columnTitled(const QAbstractItemModel* model, const QString& title)
{
    for (int column = 0; column < model->columnCount(); ++column) {
        if (model->headerData(column, Qt::Horizontal).toString() == title)
            return column;
    }
    return -1;
}

} // namespace EditorWindow
