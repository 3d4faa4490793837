#pragma once

#include <QString>

namespace ConfigCheck {

// The column title the tables give a record's member, by the record's element and the member's
// name in the files ("Rack", "name" -> "Название"); empty for a member without a known title.
QString fieldTitle(const QString& element, const QString& member);

} // namespace ConfigCheck
