#pragma once

#include "componentuidlineeditdelegate.h"
#include "standarddelegate.h"

#include <memory>

// The holder of a uid column's delegate.
class ComponentUidEditDelegate : public StandardDelegate
{
public:
    QAbstractItemDelegate* delegate() override { return &m_delegate; }

private:
    ComponentUidLineEditDelegate m_delegate;
};
