#include "antennacontroldata.h"

#include "antennadelegate.h"
#include "antennavalue.h"

#include <QCoreApplication>

namespace {

using CoConfig::AntennaControl;
using Bindings::Store;

QString tr(const char* text)
{
    return QCoreApplication::translate("AntennaControlData", text);
}

// The receiver number; a negative one shows an empty cell and stays in the record.
ColumnBinding<AntennaControl> rpu()
{
    ColumnBinding<AntennaControl> binding = Bindings::integer<&AntennaControl::rpu>();
    binding.get = [](const AntennaControl& control, int role, const Store*) {
        if (role == Qt::EditRole || (role == Qt::DisplayRole && control.rpu >= 0))
            return QVariant(control.rpu);
        return QVariant();
    };
    return binding;
}

// The group's name, "?" when it has none; every cell tells what it is for.
ColumnBinding<AntennaControl> group()
{
    ColumnBinding<AntennaControl> binding = Bindings::text<&AntennaControl::group>();
    binding.get = [](const AntennaControl& control, int role, const Store*) {
        switch (role) {
        case Qt::DisplayRole:
            return QVariant(control.group.isEmpty() ? tr("?") : control.group);
        case Qt::EditRole:
            return QVariant(control.group);
        case Qt::ToolTipRole:
            return QVariant(tr("Если к этому РПУ подключено несколько каналов (во вкладке Каналы), необходимо задать "
                               "название группы\nИ выбрать любую антенну из списка"));
        default:
            return QVariant();
        }
    };
    return binding;
}

// The chosen antenna, "D:pattern/A:azimuth"; edited as its bytes.
ColumnBinding<AntennaControl> antenna()
{
    return {&Bindings::makeHolder<AnatennaDelegate>,
            [](const AntennaControl& control, int role, const Store*) {
                const Common::Antenna& antenna = control.antenna;
                if (role == Qt::EditRole)
                    return QVariant(AntennaValue::toBytes(antenna));
                if (role == Qt::DisplayRole && antenna.diagram != -1)
                    return QVariant(QStringLiteral("D:%1/A:%2")
                                        .arg(antenna.diagram)
                                        .arg(QString::number(double(antenna.azimuth), 'g')));
                return QVariant();
            },
            [](const QVariant& value, AntennaControl& control, int role) {
                if (role != Qt::EditRole)
                    return false;
                control.antenna = AntennaValue::fromBytes(value.toByteArray());
                return true;
            }};
}

} // namespace

template <>
ColumnBinding<AntennaControl> columnBinding<AntennaControl>(int field)
{
    using namespace Bindings;
    switch (field) {
    case FieldUid:
        return ownUid<AntennaControl>();
    case FieldAntennaServer:
        // "rack/computer/server" in the cell, "computer/server" in the combo box
        return reference<&AntennaControl::antennaServer,
                         ComponentSelectDelegate<CoConfig::AntennaServer, 7, CoConfig::Computer, 1>,
                         &referencedPath<7, 3>>();
    case FieldControlRpu:
        return rpu();
    case FieldGroup:
        return group();
    case FieldAntenna:
        return antenna();
    default:
        return unused<AntennaControl>();
    }
}
