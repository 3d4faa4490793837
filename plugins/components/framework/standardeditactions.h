#pragma once

#include <QMap>
#include <QObject>
#include <QPointer>

class QAction;
class QToolBar;

// The seven edit commands of a component table, on a tool bar that owns them.
class StandardEditActions : public QObject
{
public:
    enum Key { Add = 0, Remove, Edit, Fill, FillWithCounter, Copy, Paste, KeyCount };

    StandardEditActions(const QString& name, QObject* parent = nullptr);
    ~StandardEditActions() override;

    QToolBar* toolBar() const;
    QAction* action(int key) const { return m_actions.value(key); }

private:
    QPointer<QToolBar> m_toolBar;
    QMap<int, QAction*> m_actions;
};
