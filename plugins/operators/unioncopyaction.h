#pragma once

#include <QAction>

// Copies the selected registrations.
class UnionCopyAction : public QAction
{
    Q_OBJECT

public:
    explicit UnionCopyAction(QObject* parent = nullptr);
};
