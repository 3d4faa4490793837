#include "comboboxdelegate.h"

#include <QComboBox>

ComboBoxDelegate::ComboBoxDelegate(const QStringList& texts, const QVariantList& values, QObject* parent)
    : QItemDelegate(parent), m_texts(texts), m_values(values)
{
}

int ComboBoxDelegate::position(const QVariant& value) const
{
    for (int n = 0; n < m_values.size(); ++n) {
        QVariant converted = value;
        if (converted.convert(m_values[n].metaType()) && converted == m_values[n])
            return n;
    }
    return -1;
}

QWidget* ComboBoxDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new QComboBox(parent);
    for (int n = 0; n < m_texts.size(); ++n) {
        editor->addItem(QIcon(), m_texts[n]);
        editor->setItemData(n, m_values.value(n), Qt::UserRole);
    }
    return editor;
}

void ComboBoxDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* box = qobject_cast<QComboBox*>(editor);
    const int found = position(index.data(Qt::UserRole));
    if (box && found > 0)
        box->setCurrentIndex(found);
}

void ComboBoxDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* box = qobject_cast<QComboBox*>(editor))
        model->setData(index, box->currentData(Qt::UserRole), Qt::EditRole);
}
