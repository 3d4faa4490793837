#include "operatoreditdialog.h"

#include "operatoreditorwidget.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QVBoxLayout>

OperatorEditDialog::OperatorEditDialog(bool loginLocked, const Common::Operator& op, const QString& login,
                                       const QStringList& takenLogins, QWidget* parent)
    : QDialog(parent), m_operator(op), m_login(login), m_takenLogins(takenLogins), m_loginLocked(loginLocked)
{
    setup();
}

OperatorEditDialog::OperatorEditDialog(bool loginLocked, int operatorUid, const QStringList& takenLogins,
                                       QWidget* parent)
    : QDialog(parent), m_takenLogins(takenLogins), m_loginLocked(loginLocked)
{
    m_operator.uid = operatorUid;
    setup();
}

void OperatorEditDialog::setup()
{
    setObjectName(QStringLiteral("OperatorEditDialog"));
    if (parentWidget())
        setWindowTitle(parentWidget()->windowTitle());

    m_editor = new OperatorEditorWidget(m_loginLocked, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_editor);
    layout->addWidget(buttons);

    m_editor->OnSetData(m_operator, m_login);
    connect(buttons, &QDialogButtonBox::accepted, this, &OperatorEditDialog::OnAccepted);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setFixedHeight(sizeHint().height());
}

void OperatorEditDialog::OnAccepted()
{
    const Common::Operator op = m_editor->operatorData();
    const QString login = m_editor->login();
    if (!m_loginLocked) {
        if (login.isEmpty()) {
            QMessageBox::warning(this, tr("Ошибка"), tr("Введите логин"), QMessageBox::Ok);
            return;
        }
        if (m_takenLogins.contains(login)) {
            QMessageBox::warning(this, tr("Ошибка"), tr("Пользователь с таким логином уже существует"),
                                 QMessageBox::Ok);
            return;
        }
    }
    m_operator = op;
    m_login = login;
    accept();
}
