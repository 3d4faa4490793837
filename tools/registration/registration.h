#pragma once

#include "commonrecords.h"

#include <QCoreApplication>
#include <QString>

class QTextStream;

namespace CoConfig {
class ComplexConfigInterface;
}

namespace Sulvane {

// Registers a login as an operator of the workstation the program runs on, and reports the outcome.
class Registration
{
    Q_DECLARE_TR_FUNCTIONS(Registration)

public:
    // Callers read the printed name, not the exit code; the numbers 0 to 5 are fixed.
    enum Result {
        Registered = 0,
        ArmGetUidError = 1,        // this workstation's uid is not configured
        ArmIsNotPresent = 2,       // the configuration has no workstation with that uid
        UserNameAlreadyExists = 3, // the login is registered on this workstation already
        UserNameIsEmpty = 4,
        OperatorUidIsInvalid = 5,  // the store gave no new operator uid
        ConfigReadError = 6,       // workstations or operators could not be read; nothing written
        ConfigWriteError = 7       // the store refused to write; its files are as they were
    };

    explicit Registration(CoConfig::ComplexConfigInterface& store);

    // Runs the steps in order and stops at the first failure. On success the new operator
    // and its registration are written (workstations and operators).
    Result registerLogin(const QString& login);

    const Common::Operator& registeredOperator() const { return m_operator; }
    const QString& login() const { return m_login; }
    // The store's reason after ConfigReadError or ConfigWriteError; empty otherwise.
    const QString& failureReason() const { return m_failureReason; }

    // The name printed for a result code (translatable); empty for Registered and unknown codes.
    static QString resultName(int code);

    // The lines that tell the caller the outcome of registerLogin.
    void report(QTextStream& out, Result result) const;
    static void reportNoLogin(QTextStream& out);

private:
    Result registerOnArm(int armUid);

    CoConfig::ComplexConfigInterface& m_store;
    Common::Operator m_operator;
    QString m_login;
    QString m_failureReason;
};

} // namespace Sulvane
