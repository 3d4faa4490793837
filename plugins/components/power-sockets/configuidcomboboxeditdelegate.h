#pragma once

#include "componenttype.h"

#include <QItemDelegate>
#include <QList>

namespace CoConfig {
class ComplexConfigInterface;
}

// Edits a reference to a component of any type with a ConfigUidComboBox over the offered types.
class ConfigUidComboBoxEditDelegate : public QItemDelegate
{
public:
    void setComplexConfig(const CoConfig::ComplexConfigInterface* store) { m_store = store; }
    void setTypes(const QList<CoConfig::ComponentType>& types) { m_types = types; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    const CoConfig::ComplexConfigInterface* m_store = nullptr;
    QList<CoConfig::ComponentType> m_types;
};
