#include "textindex.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("TextPaste", text);
}

} // namespace

void TextIndex::add(const QString& text, const QVariant& value, Tier tier)
{
    auto it = m_texts[tier].find(text);
    if (it == m_texts[tier].end())
        m_texts[tier].insert(text, Entry{value});
    else if (it->value != value)
        it->ambiguous = true;
}

QVariant TextIndex::find(const QString& text, QString* problem) const
{
    for (const QHash<QString, Entry>& texts : m_texts) {
        const auto it = texts.constFind(text);
        if (it == texts.cend())
            continue;
        if (!it->ambiguous)
            return it->value;
        *problem = ambiguous(text);
        return QVariant();
    }
    *problem = noSuch(text);
    return QVariant();
}

QString TextIndex::noSuch(const QString& text)
{
    return tr("нет такого значения: «%1»").arg(text);
}

QString TextIndex::ambiguous(const QString& text)
{
    return tr("«%1» называет несколько записей").arg(text);
}

QString TextIndex::notNumber(const QString& text)
{
    return tr("не число: «%1»").arg(text);
}
