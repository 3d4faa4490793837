#pragma once

#include "componentrecords.h"

#include <QString>

// The text that names a component in cells and lists: its name, or for a type without one
// the label that stands in for it.
template <typename T>
QString componentLabel(const T& record)
{
    return record.name;
}

// An antenna control is named by its receiver number and, when set, its group: "3 (north)".
QString componentLabel(const CoConfig::AntennaControl& control);
