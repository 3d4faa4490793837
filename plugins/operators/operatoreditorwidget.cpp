#include "operatoreditorwidget.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QLineEdit* lineEdit(const QString& objectName, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    return edit;
}

} // namespace

OperatorEditorWidget::OperatorEditorWidget(bool loginLocked, QWidget* parent)
    : QWidget(parent),
      m_fullName(lineEdit(QStringLiteral("fullNameEdit"), this)),
      m_rank(lineEdit(QStringLiteral("rankEdit"), this)),
      m_post(lineEdit(QStringLiteral("postEdit"), this)),
      m_uid(lineEdit(QStringLiteral("uidEdit"), this)),
      m_login(lineEdit(QStringLiteral("loginEdit"), this))
{
    m_uid->setReadOnly(true);
    m_uid->setEnabled(false);
    m_login->setEnabled(!loginLocked);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(tr("ФИО"), this), 0, 0);
    grid->addWidget(m_fullName, 0, 1);
    grid->addWidget(new QLabel(tr("Звание"), this), 0, 2);
    grid->addWidget(m_rank, 0, 3);
    grid->addWidget(new QLabel(tr("Должность"), this), 1, 0);
    grid->addWidget(m_post, 1, 1);
    grid->addWidget(new QLabel(tr("ID"), this), 1, 2);
    grid->addWidget(m_uid, 1, 3);
    grid->addWidget(new QLabel(tr("Логин"), this), 2, 0);
    grid->addWidget(m_login, 2, 1);
}

void OperatorEditorWidget::OnSetData(Common::Operator Operator, QString LoginText)
{
    QString fullName;
    if (!Operator.surname.isEmpty())
        fullName += Operator.surname + QLatin1Char(' ');
    if (!Operator.name.isEmpty())
        fullName += Operator.name + QLatin1Char(' ');
    if (!Operator.thirdname.isEmpty())
        fullName += Operator.thirdname;
    m_fullName->setText(fullName);
    m_fullName->setCursorPosition(0);
    m_shown = Operator;
    m_shownFullName = fullName;
    m_post->setText(Operator.post);
    m_rank->setText(Operator.rank);
    m_login->setText(LoginText);
    m_uid->setText(QString::number(Operator.uid));
}

Common::Operator OperatorEditorWidget::operatorData() const
{
    Common::Operator op = m_shown;
    // An unchanged full name keeps its three parts: "Имя Отчество" without a surname is not
    // split again into a surname and a name.
    if (m_fullName->text() != m_shownFullName) {
        const QStringList parts = m_fullName->text().split(QLatin1Char(' '), Qt::KeepEmptyParts);
        op.surname = parts.value(0);
        op.name = parts.value(1);
        op.thirdname = parts.mid(2).join(QLatin1Char(' '));
    }
    bool ok = false;
    const int uid = m_uid->text().toInt(&ok, 10);
    op.uid = ok ? uid : -1;
    op.rank = m_rank->text();
    op.post = m_post->text();
    return op;
}

QString OperatorEditorWidget::login() const
{
    return m_login->text();
}
