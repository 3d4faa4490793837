#pragma once

#include <QAction>

// Opens the edit dialog for the selected operator.
class UnionEditAction : public QAction
{
    Q_OBJECT

public:
    explicit UnionEditAction(QObject* parent = nullptr);
};
