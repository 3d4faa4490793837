#include "commonsavesettingsbutton.h"

CommonSaveSettingsButton::CommonSaveSettingsButton(QWidget* parent) : QPushButton(parent)
{
    setText(tr("Сохранить"));
}
