#pragma once

#include "componenttype.h"

#include <QList>
#include <QString>

namespace CoConfig::Components {

extern const QList<ComponentType> Types; // selectable types, in display order
QString name(ComponentType type);        // human name

} // namespace CoConfig::Components
