#include "commonaddbutton.h"

CommonAddButton::CommonAddButton(QWidget* parent) : QPushButton(parent)
{
    setText(tr("Добавить"));
}
