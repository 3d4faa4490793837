#pragma once

#include <QItemDelegate>
#include <QStringList>
#include <QVariantList>

// Chooses a cell's value from a fixed list: the texts are shown, the value of the same place is
// written. The editor opens on the first value equal to the cell's user-role value, compared
// after converting that value to the list value's type; on the first item when none is.
class ComboBoxDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    ComboBoxDelegate(const QStringList& texts, const QVariantList& values, QObject* parent = nullptr);

    // The place of the first equal value, or -1.
    int position(const QVariant& value) const;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    const QStringList m_texts;
    const QVariantList m_values;
};
