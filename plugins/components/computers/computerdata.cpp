#include "computerdata.h"

#include "computerflagseditdelegate.h"

namespace {

using CoConfig::Computer;

// The flags as the list of their tokens; the tokens of flags this version does not know travel
// with them, so that a fill copies the whole set.
ColumnBinding<Computer> flags()
{
    return {&Bindings::makeHolder<ComputerFlagsEditDelegate>,
            [](const Computer& record, int role, const CoConfig::ComplexConfigInterface*) {
                if (!Bindings::isShown(role))
                    return QVariant();
                return QVariant(CoConfig::Computers::toXmlNames(record.flags, record.unknownFlags));
            },
            [](const QVariant& value, Computer& record, int role) {
                if (role != Qt::EditRole)
                    return false;
                CoConfig::Computers::fromXmlNames(value.toStringList(), record.flags, record.unknownFlags);
                return true;
            }};
}

} // namespace

template <>
ColumnBinding<Computer> columnBinding<Computer>(int field)
{
    switch (field) {
    case FieldUid:
        return Bindings::ownUid<Computer>();
    case FieldRack:
        return Bindings::reference<&Computer::rack>();
    case FieldName:
        return Bindings::text<&Computer::name>();
    case FieldIpAddress:
        return Bindings::text<&Computer::ipAddress>();
    case FieldComputerFlags:
        return flags();
    default:
        return Bindings::unused<Computer>();
    }
}
