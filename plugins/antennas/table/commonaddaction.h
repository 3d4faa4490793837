#pragma once

#include <QAction>

// The context menu's "Добавить": adds a row below the current one.
class CommonAddAction : public QAction
{
    Q_OBJECT

public:
    explicit CommonAddAction(QObject* parent = nullptr);
};
