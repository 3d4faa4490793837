#pragma once

#include <QString>

namespace DemDecData {

// Why a document could not be read, and where.
struct ParseError
{
    qint64 line = 0;
    QString message;

    // "строка N: message", or the message alone when no line applies.
    QString toString() const;
};

} // namespace DemDecData
