#pragma once

#include <QPersistentModelIndex>
#include <QValidator>

// The uids that a cell of a uid column can take: a number from 0 up that the store can hold and
// that no other row of the column has. Anything but digits cannot be typed at all; a number that
// cannot be stored is Intermediate, so the cell's editor does not commit it.
class ComponentUidValidator : public QValidator
{
public:
    ComponentUidValidator(const QModelIndex& cell, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;
    // Why the text cannot be stored in the cell; empty when it can.
    QString problem(const QString& text) const;

private:
    bool heldByAnotherRow(int uid) const;

    QPersistentModelIndex m_cell;
};
