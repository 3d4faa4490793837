#pragma once

#include "antennalistdelegate.h"
#include "standarddelegate.h"

// The holder of the antenna list column's delegate.
class AnatennaListEditDelegate : public StandardDelegate
{
public:
    void setComplexConfig(CoConfig::ComplexConfigInterface* store) override { m_delegate.setComplexConfig(store); }
    QAbstractItemDelegate* delegate() override { return &m_delegate; }

private:
    CoConfig::AnatennaListDelegate m_delegate;
};
