#include "componentuidlineeditdelegate.h"

#include "componentuidvalidator.h"

#include <QLineEdit>
#include <QSize>
#include <QToolTip>

QWidget* ComponentUidLineEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                                    const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    auto* validator = new ComponentUidValidator(index, editor);
    editor->setValidator(validator);
    // The editor says why it does not take what was typed: a uid another row has, or no number.
    connect(editor, &QLineEdit::textChanged, editor, [editor, validator](const QString& text) {
        const QString problem = validator->problem(text);
        editor->setToolTip(problem);
        if (problem.isEmpty())
            QToolTip::hideText();
        else if (editor->isVisible())
            QToolTip::showText(editor->mapToGlobal(QPoint(0, editor->height())), problem, editor);
    });
    return editor;
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
    // A uid the store could not read back, or one that another row has (the later row would
    // replace the other record at the next save), leaves the cell as it was. The view commits
    // on leaving the cell too, without asking the validator.
    if (!ComponentUidValidator(index).problem(lineEdit->text()).isEmpty())
        return;
    const int type = index.data(Qt::EditRole).toSize().height();
    model->setData(index, QSize(lineEdit->text().toInt(), type), Qt::EditRole);
}

QString ComponentUidLineEditDelegate::displayText(const QVariant& value, const QLocale&) const
{
    // The number alone, without the locale's digit grouping.
    if (value.metaType().id() == QMetaType::QSize)
        return QString::number(value.toSize().width());
    return QString::number(value.toInt());
}
