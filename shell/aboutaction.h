#pragma once

#include <QAction>

// "О программе" in the help menu.
class AboutAction : public QAction
{
    Q_OBJECT

public:
    explicit AboutAction(QObject* parent = nullptr);
    ~AboutAction() override;
};
