#include "computerdata.h"

#include "computerflagseditdelegate.h"

#include <QRegularExpression>

namespace {

using CoConfig::Computer;

// Pasted flags: their names (or tokens) joined by ";". A token in the form files use that this
// version does not know is kept as such; any other text is refused.
CellReader flagsReader(const CoConfig::ComplexConfigInterface*)
{
    auto index = std::make_shared<TextIndex>();
    for (const CoConfig::ComputerFlag flag : CoConfig::Computers::Flags) {
        const QString token = CoConfig::Computers::toXmlName(flag);
        index->add(CoConfig::Computers::name(flag), token);
        index->add(token, token, TextIndex::Other);
    }
    return [index](const QString& text, QString* problem) {
        static const QRegularExpression unknownToken(QStringLiteral("^[a-z][a-z0-9_]*$"));
        QStringList tokens;
        for (const QString& part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString name = part.trimmed();
            if (name.isEmpty())
                continue;
            QString why;
            const QVariant token = index->find(name, &why);
            if (token.isValid())
                tokens.append(token.toString());
            else if (unknownToken.match(name).hasMatch())
                tokens.append(name);
            else {
                *problem = why;
                return QVariant();
            }
        }
        return QVariant(tokens);
    };
}

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
            },
            false, nullptr, &flagsReader};
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
