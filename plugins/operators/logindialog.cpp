#include "logindialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

LoginDialog::LoginDialog(const QString& text, const QStringList& takenLogins, QWidget* parent)
    : QDialog(parent), m_takenLogins(takenLogins), m_login(new QLineEdit(this))
{
    setObjectName(QStringLiteral("LoginDialog"));
    m_login->setObjectName(QStringLiteral("loginEdit"));
    if (parentWidget())
        setWindowTitle(parentWidget()->windowTitle());

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Введите логин ") + text, this));
    row->addWidget(m_login);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::OnAccepted);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setFixedSize(sizeHint());
}

QString LoginDialog::login() const
{
    return m_login->text();
}

void LoginDialog::OnAccepted()
{
    // A registration under an empty login could never match a user, so it is refused here
    // as it is in the edit dialog.
    if (login().isEmpty()) {
        QMessageBox::warning(this, tr("Ошибка"), tr("Введите логин"), QMessageBox::Ok);
        return;
    }
    if (m_takenLogins.contains(login())) {
        QMessageBox::warning(this, tr("Ошибка"), tr("Пользователь с таким логином уже существует"),
                             QMessageBox::Ok);
        return;
    }
    accept();
}
