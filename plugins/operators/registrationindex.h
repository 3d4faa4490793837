#pragma once

#include <QHash>
#include <QList>

#include <utility>

// Operator uid -> the workstations where it is registered, each with its number of logins
// there. Most operators are registered on a few workstations: each has a short list of its own,
// sorted by workstation, rather than a hash table (looked up by halves, as one operator may be
// registered on every workstation of the complex).
class RegistrationIndex
{
public:
    void clear() { m_arms.clear(); }
    void reserve(qsizetype operators) { m_arms.reserve(operators); }

    void add(int operatorUid, int armUid);
    // One login fewer; the workstation goes from the operator's list with its last.
    void remove(int operatorUid, int armUid);
    bool contains(int operatorUid, int armUid) const;
    // The operator's workstations, in uid order; the operator is gone from the index.
    QList<int> take(int operatorUid);

private:
    using Arms = QList<std::pair<int, int>>; // workstation uid, logins
    QHash<int, Arms> m_arms;
};
