#include "lineeditdelegate.h"

#include <QLineEdit>
#include <QValidator>

LineEditDelegate::LineEditDelegate(QObject* parent) : QItemDelegate(parent)
{
}

void LineEditDelegate::setValidator(QValidator* validator)
{
    if (!validator)
        return;
    validator->setParent(this);
    m_validator = validator;
}

QWidget* LineEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new QLineEdit(parent);
    if (m_validator)
        editor->setValidator(m_validator);
    return editor;
}

void LineEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(index.data(Qt::DisplayRole).toString());
}

void LineEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        model->setData(index, line->text(), Qt::EditRole);
}

void LineEditDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}
