#pragma once

#include <QHash>
#include <QList>

#include <utility>

// Operator uid -> the workstations where it is registered, each with its number of logins
// there. An operator is registered on a few workstations: each has a short list of its own
// rather than a hash table.
class RegistrationIndex
{
public:
    void clear() { m_arms.clear(); }
    void reserve(qsizetype operators) { m_arms.reserve(operators); }

    void add(int operatorUid, int armUid);
    // One login fewer; the workstation goes from the operator's list with its last.
    void remove(int operatorUid, int armUid);
    bool contains(int operatorUid, int armUid) const;
    // The operator's workstations, in no particular order; the operator is gone from the index.
    QList<int> take(int operatorUid);

private:
    using Arms = QList<std::pair<int, int>>; // workstation uid, logins
    QHash<int, Arms> m_arms;
};
