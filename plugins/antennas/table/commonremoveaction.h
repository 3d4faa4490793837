#pragma once

#include <QAction>

// The context menu's "Удалить": removes the selected rows.
class CommonRemoveAction : public QAction
{
    Q_OBJECT

public:
    explicit CommonRemoveAction(QObject* parent = nullptr);
};
