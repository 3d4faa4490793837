#pragma once

#include "componentlabel.h"
#include "componentparent.h"
#include "componentstore.h"

#include <QString>

// The text that names a record under its parents, up to `levels` names from the record up:
// "rack/computer/channel server" for three levels of a channel server. A parent missing from
// the store counts as a default record, so the separators stay: "/computer", "//".
template <typename T>
QString componentPath(const CoConfig::ComplexConfigInterface& store, const T& record, int levels)
{
    if constexpr (HasComponentParent<T>::value) {
        if (levels > 1) {
            constexpr int parentType = ComponentParent<T>::type;
            const auto parent = ComponentStore<parentType>::map(store).value(ComponentParent<T>::of(record));
            return componentPath(store, parent, levels - 1) + QLatin1Char('/') + componentLabel(record);
        }
    }
    return componentLabel(record);
}
