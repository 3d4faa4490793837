#pragma once

#include <QAction>

// Removes the selected operators or registrations.
class UnionRemoveAction : public QAction
{
    Q_OBJECT

public:
    explicit UnionRemoveAction(QObject* parent = nullptr);
};
