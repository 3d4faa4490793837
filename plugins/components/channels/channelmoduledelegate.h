#pragma once

#include <QStyledItemDelegate>

namespace CoConfig {

// Edits a channel's module kind with the module combo box; a cell shows the module's name,
// never its number.
class ChannelModuleDelegate : public QStyledItemDelegate
{
public:
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    QString displayText(const QVariant& value, const QLocale& locale) const override;
};

} // namespace CoConfig
