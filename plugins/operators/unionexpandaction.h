#pragma once

#include <QAction>

// Expands the whole tree.
class UnionExpandAction : public QAction
{
    Q_OBJECT

public:
    explicit UnionExpandAction(QObject* parent = nullptr);
};
