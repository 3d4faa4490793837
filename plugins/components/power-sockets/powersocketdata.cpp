#include "powersocketdata.h"

#include "configuideditdelegate.h"
#include "socketobjects.h"

namespace {

using CoConfig::PowerSocket;

using PduSelect = ComponentSelectDelegate<CoConfig::Pdu, 10, CoConfig::Rack, 0>;

// The plugged-in component, of any type: edited as a QSize that keeps its type.
ColumnBinding<PowerSocket> object()
{
    return {&Bindings::makeHolder<ConfigUidEditDelegate>,
            [](const PowerSocket& record, int role, const CoConfig::ComplexConfigInterface* store) {
                if (role == Qt::EditRole)
                    return QVariant(QSize(record.object.value, record.object.type));
                if (role != Qt::DisplayRole || !store || record.object.value < 0 || record.object.type == -1)
                    return QVariant();
                const QString text = SocketObjects::cellText(*store, record.object);
                return text.isNull() ? QVariant() : QVariant(text);
            },
            [](const QVariant& value, PowerSocket& record, int role) {
                if (role != Qt::EditRole)
                    return false;
                const QSize size = value.toSize();
                record.object = CoConfig::ConfigUid{size.width(), size.height()};
                return true;
            },
            false, nullptr, &SocketObjects::reader};
}

} // namespace

template <>
ColumnBinding<PowerSocket> columnBinding<PowerSocket>(int field)
{
    switch (field) {
    case FieldUid:
        return Bindings::ownUid<PowerSocket>();
    case FieldPdu:
        return Bindings::reference<&PowerSocket::pdu, PduSelect, &Bindings::referencedPath<10>>();
    case FieldIndex:
        return Bindings::integer<&PowerSocket::index>();
    case FieldObject:
        return object();
    default:
        return Bindings::unused<PowerSocket>();
    }
}
