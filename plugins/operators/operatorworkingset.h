#pragma once

#include "records.h"
#include "registrationindex.h"

#include <QHash>
#include <QSet>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace CoConfig {
class ComplexConfigInterface;
}

// The editor's own copies of operators, workstations and unions. Every edit changes
// only these copies; save() commits them into the store. Indexes from workstation to unions,
// from union to workstations and from operator to workstations keep every lookup of the
// trees and their edits independent of the size of the complex.
class OperatorWorkingSet
{
public:
    static QString fullName(const Common::Operator& op);

    void load(CoConfig::ComplexConfigInterface* store);
    void save(CoConfig::ComplexConfigInterface* store) const;
    // The same operators and registrations: nothing to undo between the two. (What was removed
    // since the load follows from them, and a save's reload forgets it.)
    bool sameEdits(const OperatorWorkingSet& other) const
    {
        return m_operators == other.m_operators && m_arms == other.m_arms;
    }
    // The same records as the trees show them: a tree built from one shows the other.
    bool sameShown(const OperatorWorkingSet& other) const
    {
        return m_operatorsRead == other.m_operatorsRead && m_unions == other.m_unions
            && m_computers == other.m_computers && m_loadedOperators == other.m_loadedOperators;
    }
    // The same trees: the same unions, operators and registrations of the same workstations, so
    // that a tree built from one shows the other once its rows are read again (the items read
    // names and the like from the set as they are shown).
    bool sameLayout(const OperatorWorkingSet& other) const;
    // When the store holds just what this set's edits made of it (a save's reload), becomes what
    // a load would give without copying the store's records again (without any work when nothing
    // was edited); workstations that other tabs changed, their registrations untouched, are
    // taken as they are. False (unchanged) otherwise.
    bool rebase(CoConfig::ComplexConfigInterface* store);
    void clear();

    const QList<CoConfig::ArmUnion>& unions() const { return m_unions; }
    // Workstations by uid, as the store keeps them: a load or a save's reload shares the
    // store's map instead of copying 20,000 records.
    using Arms = QMap<CoConfig::ComponentUid<1>, CoConfig::Computer>;

    const Arms& computers() const { return m_computers; } // as last loaded or saved
    const QMap<int, Common::Operator>& operators() const { return m_operators; }
    const Arms& arms() const { return m_arms; }

    bool hasOperator(int uid) const { return m_operators.contains(uid); }
    Common::Operator operatorByUid(int uid) const { return m_operators.value(uid); }
    bool addOperator(const Common::Operator& op);
    bool updateOperator(const Common::Operator& op);
    // Drops the operator and every registration of it, on every workstation.
    void removeOperator(int uid);

    bool hasArm(int uid) const { return m_arms.contains(CoConfig::ComponentUid<1>(uid)); }
    CoConfig::Computer arm(int uid) const { return m_arms.value(CoConfig::ComponentUid<1>(uid)); }
    CoConfig::Registrations registrations(int armUid) const; // login -> operator uid
    // Sorted.
    QStringList logins(int armUid) const;
    bool isRegistered(int armUid, int operatorUid) const;
    // Refuses a login that the workstation already holds, an unknown workstation or operator.
    bool registerOperator(int armUid, const QString& login, int operatorUid);
    bool unregister(int armUid, const QString& login);
    bool renameLogin(int armUid, const QString& oldLogin, const QString& newLogin);

    // Positions in unions() of the unions that list the workstation, in order.
    QList<int> unionsOf(int armUid) const { return m_unionsOfArm.value(armUid); }
    // The workstations of the working set that the union at that position lists, in its
    // order, each once.
    QList<int> armsOf(int unionIndex) const { return m_armsOfUnion.value(unionIndex); }

private:
    void buildIndexes();
    // The store's kinds and this set's as they were when last found to agree (a load, a
    // rebase): while both sides still share them, they agree without a comparison.
    void synced(const CoConfig::ComplexConfigInterface& store);
    bool armsUntouched(const CoConfig::ComplexConfigInterface& store) const;
    bool sameOperators(const CoConfig::ComplexConfigInterface& store) const;

    QList<CoConfig::ArmUnion> m_unions;
    Arms m_computers;                              // as last loaded or saved
    QMap<int, Common::Operator> m_loadedOperators; // as last loaded or saved
    QMap<int, Common::Operator> m_operators;
    Arms m_arms;
    QList<QList<int>> m_armsOfUnion;
    QHash<int, QList<int>> m_unionsOfArm;
    RegistrationIndex m_registrationsOf;
    QSet<int> m_removed;               // operators removed since the load
    bool m_operatorsRead = true;       // false when the store could not read the operators
    struct Synced
    {
        Arms storeComputers;
        Arms arms;
        QMap<int, Common::Operator> storeOperators;
        QMap<int, Common::Operator> operators;
    } m_synced;
};
