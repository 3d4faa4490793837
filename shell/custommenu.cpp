#include "custommenu.h"

CustomMenu::CustomMenu(QWidget* parent)
    : QMenu(parent)
{
    setTitle(tr("Плагины"));
}

CustomMenu::~CustomMenu() = default;
