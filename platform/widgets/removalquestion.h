#pragma once

#include <QString>

class QWidget;

namespace Common {

// Asks before removing records that others refer to: the question with "Да" and "Нет" ("Нет"
// the default), what refers to them below it. True for "Да".
bool confirmRemoval(QWidget* parent, const QString& summary, const QString& details);

} // namespace Common
