#pragma once

class QAbstractItemView;
class QModelIndex;
class QWidget;

// Editing table cells as the user does, for tests of item views and their delegates.
namespace CellEditing {

// Shows the view, double-clicks the cell and returns the editor that opened in it; null when the
// view could not be shown or no editor opened.
QWidget* openByDoubleClick(QAbstractItemView* view, const QModelIndex& index);

} // namespace CellEditing
