#include "recordstep.h"

#include "standardmodel.h"

RecordStep::RecordStep(StandardModel* model, Kind kind, const QString& text, QVector<Entry> entries)
    : QUndoCommand(text), m_model(model), m_kind(kind), m_entries(std::move(entries))
{
}

void RecordStep::undo()
{
    apply(true);
    m_applied = false;
}

void RecordStep::redo()
{
    if (!m_applied)
        apply(false);
    m_applied = true;
}

void RecordStep::apply(bool back)
{
    switch (m_kind) {
    case Changed:
        m_model->restoreRecords(m_entries, back);
        break;
    case Added:
    case Removed:
        // Taking back an addition removes the rows; taking back a removal puts them back.
        if (back == (m_kind == Added))
            m_model->takeRecords(m_entries);
        else
            m_model->putBackRecords(m_entries);
        break;
    }
}
