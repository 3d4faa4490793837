#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>

// Reads one cell of pasted text as the column's edit value; an invalid value with *problem set
// when the text names nothing, or more than one thing, that the column takes.
using CellReader = std::function<QVariant(const QString& text, QString* problem)>;

// The values a column takes, found by the texts an engineer types for them: first the texts the
// column shows, then other forms (a uid). A text that two different values share names neither.
class TextIndex
{
public:
    enum Tier { Shown, Other };

    void add(const QString& text, const QVariant& value, Tier tier = Shown);
    QVariant find(const QString& text, QString* problem) const;

    // The problems a cell can have, as every column words them.
    static QString noSuch(const QString& text);
    static QString ambiguous(const QString& text);
    static QString notNumber(const QString& text);

private:
    struct Entry
    {
        QVariant value;
        bool ambiguous = false;
    };
    QHash<QString, Entry> m_texts[2];
};
