#include "configuidcomboboxeditdelegate.h"

#include "configuidcombobox.h"

#include <QSize>

QWidget* ConfigUidComboBoxEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                                     const QModelIndex&) const
{
    return new ConfigUidComboBox(m_store, m_types, parent);
}

void ConfigUidComboBoxEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* chooser = qobject_cast<ConfigUidComboBox*>(editor)) {
        const QSize value = index.data(Qt::EditRole).toSize();
        chooser->setValue(CoConfig::ConfigUid{value.width(), value.height()});
    }
}

void ConfigUidComboBoxEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                                 const QModelIndex& index) const
{
    if (auto* chooser = qobject_cast<ConfigUidComboBox*>(editor)) {
        const CoConfig::ConfigUid value = chooser->value();
        model->setData(index, QSize(value.value, value.type), Qt::EditRole);
    }
}
