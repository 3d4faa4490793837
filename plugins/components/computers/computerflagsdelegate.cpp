#include "computerflagsdelegate.h"

#include "computerflagsedit.h"

#include <algorithm>

namespace CoConfig {

QWidget* ComputerFlagsDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    return new ComputerFlagsEdit(parent);
}

void ComputerFlagsDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* edit = dynamic_cast<ComputerFlagsEdit*>(editor)) {
        ComputerFlags flags;
        QSet<QString> unknown;
        Computers::fromXmlNames(index.data(Qt::EditRole).toStringList(), flags, unknown);
        edit->setFlags(flags);
    }
}

void ComputerFlagsDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* edit = dynamic_cast<ComputerFlagsEdit*>(editor))
        model->setData(index, Computers::toXmlNames(edit->flags()), Qt::EditRole);
}

// Below the cell's top edge as far as the view lets it; raised when it would leave the view.
void ComputerFlagsDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                 const QModelIndex&) const
{
    QRect rect(option.rect.topLeft(), editor->size());
    if (const QWidget* viewport = editor->parentWidget()) {
        if (rect.bottom() > viewport->height())
            rect.moveBottom(std::max(viewport->height(), rect.height()) - 1);
    }
    editor->setGeometry(rect);
}

// A token this version does not know is shown as it is.
QString ComputerFlagsDelegate::displayText(const QVariant& value, const QLocale&) const
{
    ComputerFlags flags;
    QSet<QString> unknown;
    Computers::fromXmlNames(value.toStringList(), flags, unknown);
    QStringList names;
    for (const QString& token : Computers::toXmlNames(flags, unknown)) {
        const ComputerFlag flag = Computers::fromXmlName(token);
        names.append(unknown.contains(token) ? token : Computers::name(flag));
    }
    return names.join(QLatin1Char(';'));
}

} // namespace CoConfig
