#pragma once

#include "componentcomboboxdelegate.h"
#include "standarddelegate.h"

// The holder of a reference column's combo box delegate. Each store hand-over takes a fresh
// snapshot of the referenced records.
template <typename T, int type, typename ParentT = int, int parentType = -1>
class ComponentSelectDelegate : public StandardDelegate
{
public:
    void setComplexConfig(CoConfig::ComplexConfigInterface* store) override
    {
        if (!store)
            return;
        const CoConfig::ComplexConfigInterface& constStore = *store;
        m_delegate.setRecords(ComponentStore<type>::map(constStore));
        m_delegate.setStore(store);
    }

    QAbstractItemDelegate* delegate() override { return &m_delegate; }

private:
    ComponentComboBoxDelegate<T, type, ParentT, parentType> m_delegate;
};
