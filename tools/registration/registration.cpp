#include "registration.h"

#include "complexconfiginterface.h"
#include "globalconfig.h"

#include <QTextStream>

namespace Sulvane {

namespace {

// The kinds that registration reads and rewrites.
constexpr int RegistrationTypes = CoConfig::ObjectComputers | CoConfig::ObjectOperators;

// The text on one line: control characters (line breaks, tabs, escapes) are written as \n, \r,
// \t, \xHH or \uHHHH, so that whoever reads the output finds each value on its own line.
QString oneLine(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == '\n')
            result += QLatin1String("\\n");
        else if (code == '\r')
            result += QLatin1String("\\r");
        else if (code == '\t')
            result += QLatin1String("\\t");
        else if (code < 0x20 || code == 0x7f)
            result += QStringLiteral("\\x%1").arg(uint(code), 2, 16, QLatin1Char('0'));
        else if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line
                 || c.category() == QChar::Separator_Paragraph)
            result += QStringLiteral("\\u%1").arg(uint(code), 4, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result;
}

} // namespace

Registration::Registration(CoConfig::ComplexConfigInterface& store)
    : m_store(store)
{
}

Registration::Result Registration::registerLogin(const QString& login)
{
    m_login = login;
    m_operator = Common::Operator();
    m_failureReason.clear();

    if (login.isEmpty())
        return UserNameIsEmpty;

    bool ok = false;
    const int armUid = Common::GlobalConfig::ArmUID(&ok, -1);
    if (!ok || armUid == -1)
        return ArmGetUidError;

    // Maps that failed to load are empty or partial: deciding on them, let alone writing them
    // back, would wipe what is on disk.
    if (m_store.readStatus() & RegistrationTypes) {
        m_failureReason = m_store.errorString();
        return ConfigReadError;
    }

    return registerOnArm(armUid);
}

Registration::Result Registration::registerOnArm(int armUid)
{
    auto& computers = m_store.computers();
    const auto arm = computers.find(CoConfig::ComponentUid<1>(armUid));
    if (arm == computers.end())
        return ArmIsNotPresent;

    if (arm->registrations.contains(m_login))
        return UserNameAlreadyExists;

    const int operatorUid = m_store.generateObjectUid(CoConfig::ObjectOperators);
    if (operatorUid == -1)
        return OperatorUidIsInvalid;

    const QString notSet = tr("Not set");
    m_operator.uid = operatorUid;
    m_operator.name = notSet;
    m_operator.surname = notSet;
    m_operator.thirdname = notSet;
    m_operator.rank = notSet;
    m_operator.post = notSet;
    m_store.addOperator(m_operator);
    arm->registrations.insert(m_login, operatorUid);

    if (!m_store.write(RegistrationTypes)) {
        m_failureReason = m_store.errorString();
        return ConfigWriteError;
    }
    return Registered;
}

QString Registration::resultName(int code)
{
    switch (code) {
    case ArmGetUidError:
        return tr("ArmGetUidError");
    case ArmIsNotPresent:
        return tr("ArmIsNotPresent");
    case UserNameAlreadyExists:
        return tr("UserNameAlreadyExists");
    case UserNameIsEmpty:
        return tr("UserNameIsEmpty");
    case OperatorUidIsInvalid:
        return tr("OperatorUidIsInvalid");
    case ConfigReadError:
        return tr("ConfigReadError");
    case ConfigWriteError:
        return tr("ConfigWriteError");
    default:
        return QString();
    }
}

void Registration::report(QTextStream& out, Result result) const
{
    if (result != Registered) {
        out << "Operator is not registered\n" << resultName(result) << '\n';
        if (!m_failureReason.isEmpty())
            out << m_failureReason << '\n';
        return;
    }
    out << "Operator is registered\n"
        << "UID: " << m_operator.uid << '\n'
        << "Login: " << oneLine(m_login) << '\n'
        << "Name: " << oneLine(m_operator.name) << '\n'
        << "Surname: " << oneLine(m_operator.surname) << '\n'
        << "Thirdname: " << oneLine(m_operator.thirdname) << '\n'
        << "Rank: " << oneLine(m_operator.rank) << '\n'
        << "Post: " << oneLine(m_operator.post) << '\n';
}

void Registration::reportNoLogin(QTextStream& out)
{
    out << "Operator is not registered\n" << "GetCurrentLoginError";
}

} // namespace Sulvane
