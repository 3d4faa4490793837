#include "bindings.h"

namespace Bindings {

CellReader numberReader(const Store*)
{
    return [](const QString& text, QString* problem) {
        bool ok = false;
        const int number = text.toInt(&ok);
        if (!ok) {
            *problem = TextIndex::notNumber(text);
            return QVariant();
        }
        return QVariant(number);
    };
}

CellReader boolReader(const Store*)
{
    return [](const QString& text, QString* problem) {
        bool ok = false;
        const bool yes = boolFromCell(text, &ok);
        if (!ok) {
            *problem = TextIndex::noSuch(text);
            return QVariant();
        }
        return QVariant(yes);
    };
}

} // namespace Bindings
