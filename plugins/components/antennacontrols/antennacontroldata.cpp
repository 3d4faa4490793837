#include "antennacontroldata.h"

#include "antennadelegate.h"
#include "antennaindex.h"
#include "antennas.h"
#include "antennavalue.h"

#include <QCoreApplication>

#include <memory>

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
    binding.textReader = [](const Store* store) -> CellReader {
        return [number = Bindings::numberReader(store)](const QString& text, QString* problem) {
            return text.isEmpty() ? QVariant(-1) : number(text, problem);
        };
    };
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
    binding.textReader = [](const Store*) -> CellReader {
        return [](const QString& text, QString*) { return QVariant(text == tr("?") ? QString() : text); };
    };
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

// A pasted antenna: any antenna of the complex, as its cell or the antenna lists show it, or
// "№uid"; an empty cell is none.
CellReader antennaReader(const Store* store)
{
    auto index = std::make_shared<TextIndex>();
    const QMap<int, Common::Antenna> antennas = store ? store->antennasMap() : QMap<int, Common::Antenna>();
    addAntennas(*index, antennas.values());
    return [index, antennas](const QString& text, QString* problem) {
        if (text.isEmpty())
            return QVariant(AntennaValue::toBytes(Common::Antenna()));
        const QVariant uid = index->find(text, problem);
        return uid.isValid() ? QVariant(AntennaValue::toBytes(antennas.value(uid.toInt()))) : QVariant();
    };
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
                    return QVariant(Common::antennaPatternText(antenna));
                return QVariant();
            },
            [](const QVariant& value, AntennaControl& control, int role) {
                if (role != Qt::EditRole)
                    return false;
                control.antenna = AntennaValue::fromBytes(value.toByteArray());
                return true;
            },
            false, nullptr, &antennaReader};
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
