#pragma once

#include "recordkind.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace CoConfig {
class ComplexConfigInterface;
}

namespace ConfigCheck {

// The records of other kinds that refer to some records of one kind: what their removal would
// leave pointing at nothing.
struct Referrers
{
    struct Count
    {
        RecordKind kind;
        int count;
    };
    QList<Count> counts; // in the editor's tab order, kinds with none left out
    QStringList firstNames; // the first few, "ЭВМы: АРМ оператора 1"
    int total = 0;

    bool isEmpty() const { return total == 0; }
    // "На удаляемые записи ссылаются: ЭВМы — 5, Приёмники — 2."
    QString summary() const;
    // The first few by name, a line each, and how many more.
    QString names() const;
};

// One pass over each kind that can refer to `kind` (but the kinds skipped), each reference one
// set look-up.
Referrers referrersOf(const CoConfig::ComplexConfigInterface& store, RecordKind kind, const QSet<int>& uids,
                      int named = 5, const QSet<RecordKind>& skipped = {});

// The editor's name of a table of such records ("ЭВМы", "Объединения АРМ").
QString recordKindTableTitle(RecordKind kind);

} // namespace ConfigCheck
