#pragma once

#include <QPushButton>

// "Сохранить" of a table page: asks the page to keep its own settings.
class CommonSaveSettingsButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommonSaveSettingsButton(QWidget* parent = nullptr);
};
