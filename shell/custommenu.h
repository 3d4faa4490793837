#pragma once

#include <QMenu>

// "Плагины": holds the menus that plugins contribute.
class CustomMenu : public QMenu
{
    Q_OBJECT

public:
    explicit CustomMenu(QWidget* parent = nullptr);
    ~CustomMenu() override;
};
