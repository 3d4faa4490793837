#pragma once

#include <QItemDelegate>
#include <QPointer>

class QValidator;

// Edits a cell's displayed text in a line edit, optionally restricted by a validator; the text
// goes back as it stands and the data converts it.
class LineEditDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    explicit LineEditDelegate(QObject* parent = nullptr);

    // Ignored when null. The delegate takes the validator as its child.
    void setValidator(QValidator* validator);
    QValidator* validator() const { return m_validator; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QPointer<QValidator> m_validator;
};
