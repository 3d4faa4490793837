#pragma once

#include <QHash>
#include <QMenu>

// The context menu of a table page: "Добавить", "Удалить", "Очистить". The actions are its
// children; the view connects them.
class CommonContextMenu : public QMenu
{
    Q_OBJECT

public:
    enum Key { Add = 0, Remove = 1, Clear = 2 };

    explicit CommonContextMenu(QWidget* parent = nullptr);

    QAction* action(Key key) const { return m_actions.value(key); }

private:
    QHash<int, QAction*> m_actions;
};
