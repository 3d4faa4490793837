#pragma once

#include "records.h"

#include <QDialog>
#include <QStringList>

class OperatorEditorWidget;

// Edits an operator and, unless the login is locked, its login on one workstation.
class OperatorEditDialog : public QDialog
{
    Q_OBJECT

public:
    OperatorEditDialog(bool loginLocked, const Common::Operator& op, const QString& login,
                       const QStringList& takenLogins, QWidget* parent = nullptr);
    // A new operator with the given uid and empty texts.
    OperatorEditDialog(bool loginLocked, int operatorUid, const QStringList& takenLogins, QWidget* parent = nullptr);

    Common::Operator operatorData() const { return m_operator; }
    QString login() const { return m_login; }

public Q_SLOTS:
    void OnAccepted();

private:
    void setup();

    OperatorEditorWidget* m_editor = nullptr;
    Common::Operator m_operator;
    QString m_login;
    QStringList m_takenLogins;
    bool m_loginLocked;
};
