#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;

// Asks for the login under which an existing operator is registered on a further workstation.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    LoginDialog(const QString& text, const QStringList& takenLogins, QWidget* parent = nullptr);

    QString login() const;

public Q_SLOTS:
    void OnAccepted();

private:
    QStringList m_takenLogins;
    QLineEdit* m_login;
};
