#include "componentuidlineeditdelegate.h"

#include <QLineEdit>
#include <QSize>

QWidget* ComponentUidLineEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                                    const QModelIndex&) const
{
    return new QLineEdit(parent);
}

void ComponentUidLineEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* lineEdit = qobject_cast<QLineEdit*>(editor))
        lineEdit->setText(QString::number(index.data(Qt::EditRole).toSize().width()));
}

void ComponentUidLineEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                                const QModelIndex& index) const
{
    auto* lineEdit = qobject_cast<QLineEdit*>(editor);
    if (!lineEdit)
        return;
    const int type = index.data(Qt::EditRole).toSize().height();
    // Text that is no number becomes 0: bad input in the tables is coerced, not refused.
    const int number = lineEdit->text().toInt();
    model->setData(index, QSize(number, type), Qt::EditRole);
}

QString ComponentUidLineEditDelegate::displayText(const QVariant& value, const QLocale&) const
{
    // The number alone, without the locale's digit grouping.
    if (value.metaType().id() == QMetaType::QSize)
        return QString::number(value.toSize().width());
    return QString::number(value.toInt());
}
