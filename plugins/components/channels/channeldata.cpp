#include "channeldata.h"

#include "channelmodule.h"
#include "channelmoduleeditdelegate.h"

#include <memory>

namespace {

// A pasted module kind: its name, or its number.
CellReader moduleReader(const CoConfig::ComplexConfigInterface*)
{
    auto index = std::make_shared<TextIndex>();
    for (const Common::ChannelModuleType kind : Common::ChannelModules)
        index->add(Common::channelModuleName(kind), int(kind));
    return [index](const QString& text, QString* problem) {
        bool isNumber = false;
        const int number = text.toInt(&isNumber);
        QString why;
        const QVariant kind = index->find(text, &why);
        if (kind.isValid() || isNumber)
            return kind.isValid() ? kind : QVariant(number);
        *problem = why;
        return QVariant();
    };
}

} // namespace

template <>
ColumnBinding<CoConfig::Channel> columnBinding<CoConfig::Channel>(int field)
{
    using namespace CoConfig;
    using namespace Bindings;
    switch (field) {
    case FieldUid:
        return ownUid<Channel>();
    case FieldName:
        return text<&Channel::name>();
    case FieldCassetteType:
        return reference<&Channel::cassetteType>();
    case FieldModule: {
        ColumnBinding<Channel> module = integer<&Channel::module>();
        module.makeDelegate = &makeHolder<ChannelModuleEditDelegate>;
        module.textReader = &moduleReader;
        return module;
    }
    case FieldFixed:
        return boolean<&Channel::fixed>();
    case FieldHidden:
        return boolean<&Channel::hidden>();
    case FieldMulti:
        return boolean<&Channel::multi>();
    case FieldScale:
        return integer<&Channel::scale>();
    case FieldReceiver:
        // "rack/receiver"
        return reference<&Channel::receiver, ComponentSelectDelegate<Receiver, 2, Rack, 0>, &referencedPath<2>>();
    case FieldCassette:
        return integer<&Channel::cassette>();
    case FieldChannelServer:
        // "rack/computer/server" in the cell, "computer/server" in the combo box
        return reference<&Channel::channelServer, ComponentSelectDelegate<ChannelServer, 3, Computer, 1>,
                         &referencedPath<3, 3>>();
    case FieldServerIndex:
        return integer<&Channel::serverIndex>();
    case FieldRpu:
        // "antenna server/3 (group)"
        return reference<&Channel::antennaControl, ComponentSelectDelegate<AntennaControl, 8, AntennaServer, 7>,
                         &referencedPath<8>>();
    default:
        return unused<Channel>();
    }
}
