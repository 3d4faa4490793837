#pragma once

class QCoreApplication;

namespace Common {

// Loads Qt's own Russian texts (standard buttons, line edit menus, file dialogs) for the whole
// process, whatever the system's language; false when the translations are not installed.
bool installQtTranslations(QCoreApplication* application);

} // namespace Common
