#pragma once

#include <QPushButton>

// "Добавить" of a table page: appends as many rows as its spin box says.
class CommonAddButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommonAddButton(QWidget* parent = nullptr);
};
