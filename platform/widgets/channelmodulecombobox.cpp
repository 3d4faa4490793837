#include "channelmodulecombobox.h"

namespace Common {

ChannelModuleComboBox::ChannelModuleComboBox(QWidget* parent) : QComboBox(parent)
{
    for (const ChannelModuleType kind : ChannelModules)
        addItem(channelModuleName(kind), int(kind));
}

void ChannelModuleComboBox::setCurrent(ChannelModuleType kind)
{
    int index = findData(int(kind));
    if (index < 0) {
        addItem(channelModuleName(kind), int(kind));
        index = count() - 1;
    }
    setCurrentIndex(index);
}

int ChannelModuleComboBox::current() const
{
    return currentIndex() < 0 ? int(ChannelModuleNone) : currentData().toInt();
}

} // namespace Common
