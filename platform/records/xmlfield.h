#pragma once

#include "records.h"

#include <QStringView>

#include <limits>
#include <type_traits>

// Describes one member of a record for the XML codec: its name in the XML and where it lives.
// Each record type lists its members once (xmlrecordfields.h); the writer and the reader walk
// that list. Scalars become attributes of the record's element, lists and maps child elements.
namespace Xml::Fields {

template <typename T>
struct Tag
{
};

template <typename Record, typename Member>
struct Field
{
    QStringView name;
    Member Record::*member;
    int minimum = std::numeric_limits<int>::min(); // ints and int lists: the least value accepted
    QStringView typeName = {};                     // ConfigUid: the attribute holding its type
};

template <typename Record, typename Member>
constexpr Field<Record, Member> field(QStringView name, Member Record::*member)
{
    return {name, member};
}

// An int or a list of ints that are uids: -1 (none) or more.
template <typename Record, typename Member>
constexpr Field<Record, Member> uidField(QStringView name, Member Record::*member)
{
    return {name, member, -1};
}

template <typename Record>
constexpr Field<Record, CoConfig::ConfigUid> field(QStringView name, QStringView typeName,
                                                   CoConfig::ConfigUid Record::*member)
{
    return {name, member, -1, typeName};
}

// Computer flags: one child element of tokens, the known flags' and, kept as read, those of
// flags this version does not know.
template <typename Record>
struct FlagsField
{
    QStringView name;
    CoConfig::ComputerFlags Record::*member;
    QSet<QString> Record::*unknown;
};

template <typename Record>
constexpr FlagsField<Record> flagsField(QStringView name, CoConfig::ComputerFlags Record::*member,
                                        QSet<QString> Record::*unknown)
{
    return {name, member, unknown};
}

// A record type whose member list is known (fields(Tag<T>) exists) nests as a child element.
template <typename T, typename = void>
struct HasFields : std::false_type
{
};

template <typename T>
struct HasFields<T, std::void_t<decltype(fields(Tag<T>{}))>> : std::true_type
{
};

template <typename T>
struct IsChild : HasFields<T>
{
};
template <>
struct IsChild<QList<int>> : std::true_type
{
};
template <>
struct IsChild<QStringList> : std::true_type
{
};
template <>
struct IsChild<CoConfig::ComputerFlags> : std::true_type
{
};
template <>
struct IsChild<CoConfig::Registrations> : std::true_type
{
};

template <typename T>
constexpr bool isChild = IsChild<T>::value;

} // namespace Xml::Fields
