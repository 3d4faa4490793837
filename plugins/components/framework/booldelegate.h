#pragma once

#include "standarddelegate.h"

#include <QStyledItemDelegate>
#include <QVariant>

// Yes or no as the engineer reads and types it: "Да"/"Нет", also "1"/"0" and "true"/"false";
// false, with *ok false, for anything else.
bool boolFromCell(const QVariant& value, bool* ok = nullptr);
QString boolText(bool value);

// Edits a bool column with a combo box of "Нет" and "Да".
class BoolComboDelegate : public QStyledItemDelegate
{
public:
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

// The holder of a bool column's delegate.
class BoolDelegate : public StandardDelegate
{
public:
    QAbstractItemDelegate* delegate() override { return &m_delegate; }

private:
    BoolComboDelegate m_delegate;
};
