#include "recordstep.h"

#include "standardmodel.h"

RecordStep::RecordStep(StandardModel* model, Kind kind, const QString& text, QVector<Entry> entries)
    : QUndoCommand(text), m_model(model), m_kind(kind), m_entries(std::move(entries))
{
}

void RecordStep::undo()
{
    switch (m_kind) {
    case Changed:
        m_model->restoreRecords(m_entries, true);
        break;
    case Added:
        m_model->takeRecords(m_entries);
        break;
    case Removed:
        m_model->putBackRecords(m_entries);
        break;
    }
    m_applied = false;
}

void RecordStep::redo()
{
    if (m_applied)
        return;
    switch (m_kind) {
    case Changed:
        m_model->restoreRecords(m_entries, false);
        break;
    case Added:
        m_model->putBackRecords(m_entries);
        break;
    case Removed:
        m_model->takeRecords(m_entries);
        break;
    }
    m_applied = true;
}
