#pragma once

#include "computerflagsdelegate.h"
#include "standarddelegate.h"

// The holder of the computer flags column's delegate.
class ComputerFlagsEditDelegate : public StandardDelegate
{
public:
    QAbstractItemDelegate* delegate() override { return &m_delegate; }

private:
    CoConfig::ComputerFlagsDelegate m_delegate;
};
