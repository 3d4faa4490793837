#pragma once

#include <QAction>

// The context menu's "Очистить": clears the selected cells.
class CommonClearAction : public QAction
{
    Q_OBJECT

public:
    explicit CommonClearAction(QObject* parent = nullptr);
};
