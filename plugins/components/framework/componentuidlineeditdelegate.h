#pragma once

#include <QStyledItemDelegate>

// Edits a uid cell as its number. The line edit takes only a uid that the store can hold and that
// no other row has (ComponentUidValidator); the uid keeps the type it had.
class ComponentUidLineEditDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    QString displayText(const QVariant& value, const QLocale& locale) const override;
};
