#pragma once

#include "channelmoduledelegate.h"
#include "standarddelegate.h"

// The holder of the module column's delegate; the module list does not depend on the store.
class ChannelModuleEditDelegate : public StandardDelegate
{
public:
    QAbstractItemDelegate* delegate() override { return &m_delegate; }

private:
    CoConfig::ChannelModuleDelegate m_delegate;
};
