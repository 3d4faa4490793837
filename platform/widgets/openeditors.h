#pragma once

class QWidget;

namespace Common {

// Hands the text of every cell or tree editor still open under the page to its model, as Return
// would, so that a save started from the keyboard or the tool bar takes it. A line whose
// validator would not let Return commit it is not committed here either. Editors stay open.
void commitOpenEditors(QWidget* page);

} // namespace Common
