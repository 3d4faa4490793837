#include "booldelegate.h"

#include <QComboBox>
#include <QCoreApplication>

bool boolFromCell(const QVariant& value, bool* ok)
{
    if (ok)
        *ok = true;
    if (value.typeId() == QMetaType::Bool || value.typeId() == QMetaType::Int)
        return value.toBool();
    const QString text = value.toString().trimmed();
    if (text == boolText(true) || text == QLatin1String("1") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (!(text == boolText(false) || text == QLatin1String("0") || text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        && ok)
        *ok = false;
    return false;
}

QString boolText(bool value)
{
    return value ? QCoreApplication::translate("BoolComboDelegate", "Да")
                 : QCoreApplication::translate("BoolComboDelegate", "Нет");
}

QWidget* BoolComboDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* combo = new QComboBox(parent);
    combo->addItem(boolText(false), false);
    combo->addItem(boolText(true), true);
    return combo;
}

void BoolComboDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        combo->setCurrentIndex(boolFromCell(index.data(Qt::EditRole)) ? 1 : 0);
}

void BoolComboDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        model->setData(index, combo->currentData(), Qt::EditRole);
}
