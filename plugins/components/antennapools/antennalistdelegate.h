#pragma once

#include <QHash>
#include <QList>
#include <QRect>
#include <QStyledItemDelegate>

namespace CoConfig {

class ComplexConfigInterface;

// The uids of a pool's antenna list as the table holds it (a list of numbers).
QList<int> antennaUidsOf(const QVariant& value);

// Edits a pool's antennas in a list of every antenna of the complex, shown as a window of its
// own at the edited cell; a cell shows the antennas' pattern numbers, -1 for one that is gone.
class AnatennaListDelegate : public QStyledItemDelegate
{
public:
    ~AnatennaListDelegate() override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    QString displayText(const QVariant& value, const QLocale& locale) const override;
    // The window stays where it was placed when the view lays out its cells again.
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    virtual void setComplexConfig(ComplexConfigInterface* store);

private:
    ComplexConfigInterface* m_store = nullptr;
    // Each open editor with the rectangle of its cell, in the view's coordinates.
    mutable QHash<QWidget*, QRect> m_editors;
};

} // namespace CoConfig
