#pragma once

#include "textindex.h"

#include <QVariant>

class StandardDelegate;

namespace CoConfig {
class ComplexConfigInterface;
}

// How one column of a table of T records is shown and edited.
template <typename T>
struct ColumnBinding
{
    // A new holder of the column's own delegate, or null for the view's default editing.
    StandardDelegate* (*makeDelegate)();
    QVariant (*get)(const T& record, int role, const CoConfig::ComplexConfigInterface* store); // store may be null
    // Stores the value; false when the role or the column takes no edit.
    bool (*set)(const QVariant& value, T& record, int role);
    // The record's own uid: two rows never take one value from a fill.
    bool ownUid = false;
    // Set for a column whose text depends on nothing but this key of the record and the store
    // (a reference: the referenced uid). The table then keeps each key's text once made, until
    // the store is handed over again, so that a paint costs no lookup in the store.
    qint64 (*displayKey)(const T& record) = nullptr;
    // Reads the column's cells from pasted text, over the records the store holds now (it may be
    // null); none for a column whose text is stored as typed.
    CellReader (*textReader)(const CoConfig::ComplexConfigInterface* store) = nullptr;
};

// The binding of every column of a type: a component editor specialises this for its record
// class and answers each field it shows (the others get Bindings::unused<T>()).
template <typename T>
ColumnBinding<T> columnBinding(int field);
