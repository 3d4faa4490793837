#pragma once

#include "antennaeditdelegate.h"
#include "standarddelegate.h"

// The holder of the antenna column's delegate.
class AnatennaDelegate : public StandardDelegate
{
public:
    void setComplexConfig(CoConfig::ComplexConfigInterface* store) override { m_delegate.setComplexConfig(store); }
    QAbstractItemDelegate* delegate() override { return &m_delegate; }

private:
    CoConfig::AnatennaEditDelegate m_delegate;
};
