#pragma once

#include <QStyledItemDelegate>

namespace CoConfig {

// Edits the computer flags column with check boxes (ComputerFlagsEdit); the cell shows the
// flags' names joined by ";". Committing the editor replaces the whole set, tokens of flags this
// version does not know included.
class ComputerFlagsDelegate : public QStyledItemDelegate
{
public:
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QString displayText(const QVariant& value, const QLocale& locale) const override;
};

} // namespace CoConfig
