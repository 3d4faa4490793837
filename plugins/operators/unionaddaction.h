#pragma once

#include <QAction>

// Adds a new operator.
class UnionAddAction : public QAction
{
    Q_OBJECT

public:
    explicit UnionAddAction(QObject* parent = nullptr);
};
