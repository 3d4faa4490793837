#pragma once

#include <QHashFunctions>
#include <QtGlobal>

namespace CoConfig {

// Identity of a component: its uid value and its component type. -1 means none.
struct ConfigUid
{
    int value = -1;
    int type = -1;

    friend bool operator==(const ConfigUid& a, const ConfigUid& b) { return a.value == b.value && a.type == b.type; }
    friend bool operator!=(const ConfigUid& a, const ConfigUid& b) { return !(a == b); }
    friend bool operator<(const ConfigUid& a, const ConfigUid& b)
    {
        return a.value != b.value ? a.value < b.value : a.type < b.type;
    }
};

template <int N>
struct ComponentUid
{
    int value = -1;
    int type = N;

    ComponentUid() = default;
    explicit ComponentUid(int v) : value(v) {}

    bool isValid() const { return value >= 0; }

    friend bool operator==(const ComponentUid& a, const ComponentUid& b) { return a.value == b.value && a.type == b.type; }
    friend bool operator!=(const ComponentUid& a, const ComponentUid& b) { return !(a == b); }
    friend bool operator<(const ComponentUid& a, const ComponentUid& b) { return a.value < b.value; }
};

template <int N>
inline size_t qHash(const ComponentUid<N>& uid, size_t seed = 0) noexcept
{
    return ::qHash(uid.value, seed);
}

inline size_t qHash(const ConfigUid& uid, size_t seed = 0) noexcept
{
    return ::qHashMulti(seed, uid.value, uid.type);
}

} // namespace CoConfig
