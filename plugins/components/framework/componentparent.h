#pragma once

#include "componentrecords.h"

#include <type_traits>

// The component that a record is shown under ("rack/computer"): ComponentParent<T>::type is the
// parent's component type and of(record) the record's reference to it.
template <typename T>
struct ComponentParent;

// Whether records of T are shown under a parent.
template <typename T, typename = void>
struct HasComponentParent : std::false_type
{
};
template <typename T>
struct HasComponentParent<T, std::void_t<decltype(ComponentParent<T>::type)>> : std::true_type
{
};

#define ORVANE_COMPONENT_PARENT(RecordClass, N, member)                                             \
    template <>                                                                                    \
    struct ComponentParent<CoConfig::RecordClass>                                                  \
    {                                                                                              \
        static constexpr int type = N;                                                             \
        static CoConfig::ComponentUid<N> of(const CoConfig::RecordClass& record) { return record.member; } \
    };

ORVANE_COMPONENT_PARENT(Computer, 0, rack)
ORVANE_COMPONENT_PARENT(Receiver, 0, rack)
ORVANE_COMPONENT_PARENT(Ups, 0, rack)
ORVANE_COMPONENT_PARENT(Pdu, 0, rack)
ORVANE_COMPONENT_PARENT(ChannelServer, 1, computer)
ORVANE_COMPONENT_PARENT(AntennaServer, 1, computer)
ORVANE_COMPONENT_PARENT(AntennaControl, 7, antennaServer)

#undef ORVANE_COMPONENT_PARENT
