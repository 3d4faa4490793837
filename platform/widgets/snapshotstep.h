#pragma once

#include <QString>
#include <QUndoCommand>

#include <functional>
#include <utility>

namespace Common {

// One step of an editor's history that keeps the whole state before and after it, for editors
// whose state is implicitly shared or small. Made after the change was applied: the first redo
// does nothing.
template <typename State>
class SnapshotStep : public QUndoCommand
{
public:
    using Apply = std::function<void(const State&)>;

    SnapshotStep(const QString& text, State before, State after, Apply apply)
        : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after)), m_apply(std::move(apply))
    {
    }

    void undo() override
    {
        m_apply(m_before);
        m_applied = false;
    }

    void redo() override
    {
        if (!m_applied)
            m_apply(m_after);
        m_applied = true;
    }

private:
    const State m_before;
    const State m_after;
    const Apply m_apply;
    bool m_applied = true;
};

} // namespace Common
