#pragma once

#include <QString>
#include <QUndoCommand>
#include <QVector>

#include <any>

class StandardModel;

// One step of a table's history: records changed in place, added or removed, each whole. A
// record is found again by its uid, so that a step still applies after a reload moved the rows.
class RecordStep : public QUndoCommand
{
public:
    enum Kind { Changed, Added, Removed };
    struct Entry
    {
        int row;       // the row it had: after the change for Changed and Added, before it for Removed
        int uidBefore; // for Added, both uids are the added record's
        int uidAfter;
        std::any before; // empty for Added
        std::any after;  // empty for Removed
    };

    // Made after the change was applied: the first redo does nothing.
    RecordStep(StandardModel* model, Kind kind, const QString& text, QVector<Entry> entries);

    void undo() override;
    void redo() override;

private:
    void apply(bool back);

    StandardModel* const m_model;
    const Kind m_kind;
    const QVector<Entry> m_entries;
    bool m_applied = true;
};
