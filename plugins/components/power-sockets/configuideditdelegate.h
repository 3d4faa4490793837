#pragma once

#include "configuidcomboboxeditdelegate.h"
#include "standarddelegate.h"

// The holder of the plugged-in component column's delegate: computers and receivers are offered.
class ConfigUidEditDelegate : public StandardDelegate
{
public:
    ConfigUidEditDelegate() { m_delegate.setTypes({CoConfig::ComponentType::Computer, CoConfig::ComponentType::Receiver}); }

    void setComplexConfig(CoConfig::ComplexConfigInterface* store) override { m_delegate.setComplexConfig(store); }
    QAbstractItemDelegate* delegate() override { return &m_delegate; }

private:
    ConfigUidComboBoxEditDelegate m_delegate;
};
