#pragma once

#include <QString>

class Orvane;
class QAbstractItemModel;
class QAbstractItemView;

// Finding one's way in the whole editor's window, as the engineer does.
namespace EditorWindow {

// The tab with this title (its mark of unsaved work aside) made current, or -1.
int openTab(Orvane& window, const QString& title);
// The current page's table or tree: its first visible item view.
QAbstractItemView* currentView(const Orvane& window);
int columnTitled(const QAbstractItemModel* model, const QString& title);

} // namespace EditorWindow
