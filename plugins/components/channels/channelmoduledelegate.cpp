#include "channelmoduledelegate.h"

#include "channelmodulecombobox.h"

namespace CoConfig {

QWidget* ChannelModuleDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    return new Common::ChannelModuleComboBox(parent);
}

void ChannelModuleDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* box = dynamic_cast<Common::ChannelModuleComboBox*>(editor))
        box->setCurrent(Common::ChannelModuleType(index.data(Qt::EditRole).toInt()));
}

void ChannelModuleDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* box = dynamic_cast<Common::ChannelModuleComboBox*>(editor))
        model->setData(index, QVariant(box->current()), Qt::EditRole);
}

QString ChannelModuleDelegate::displayText(const QVariant& value, const QLocale&) const
{
    return Common::channelModuleName(value.toInt());
}

} // namespace CoConfig
