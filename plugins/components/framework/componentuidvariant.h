#pragma once

#include "componentuid.h"

#include <QSize>
#include <QVariant>

// Inside the component tables a uid or a reference travels as a QSize: width = value, height = type.
namespace ComponentUidVariant {

// The uid value that a variant holds for type `type`; -1 (and a debug line) when it holds
// another type or no size at all.
int value(const QVariant& variant, int type);

template <int N>
CoConfig::ComponentUid<N> toUid(const QVariant& variant)
{
    return CoConfig::ComponentUid<N>(value(variant, N));
}

template <int N>
QVariant fromUid(const CoConfig::ComponentUid<N>& uid)
{
    return QSize(uid.value, uid.type);
}

} // namespace ComponentUidVariant
