#pragma once

#include <QAction>

// One candidate of a context menu's "Добавить" sub-menu, known by its position.
class UnionAddNewOpAction : public QAction
{
    Q_OBJECT

public:
    UnionAddNewOpAction(const QString& text, int index, QObject* parent = nullptr);

    int index() const { return m_index; }

private:
    int m_index;
};
