#pragma once

#include <QAction>

// Pastes the copied registrations onto the selected item.
class UnionPasteAction : public QAction
{
    Q_OBJECT

public:
    explicit UnionPasteAction(QObject* parent = nullptr);
};
