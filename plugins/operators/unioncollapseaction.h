#pragma once

#include <QAction>

// Collapses the whole tree.
class UnionCollapseAction : public QAction
{
    Q_OBJECT

public:
    explicit UnionCollapseAction(QObject* parent = nullptr);
};
