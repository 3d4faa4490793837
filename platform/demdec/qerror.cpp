#include "qerror.h"

namespace QNetData {

QError::QError(Code code, const QString& text)
    : m_code(code)
    , m_text(text)
{
}

} // namespace QNetData
