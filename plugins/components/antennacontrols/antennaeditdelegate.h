#pragma once

#include <QStyledItemDelegate>

namespace CoConfig {

class ComplexConfigInterface;

// Chooses a control's antenna among those of the pool that the store holds for the control's
// server.
class AnatennaEditDelegate : public QStyledItemDelegate
{
public:
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    virtual void setComplexConfig(ComplexConfigInterface* store);

private:
    ComplexConfigInterface* m_store = nullptr;
};

} // namespace CoConfig
