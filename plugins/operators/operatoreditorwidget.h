#pragma once

#include "records.h"

#include <QString>
#include <QWidget>

class QLineEdit;

// An operator's personal data and, unless locked, the login of one registration.
class OperatorEditorWidget : public QWidget
{
    Q_OBJECT

public:
    explicit OperatorEditorWidget(bool loginLocked, QWidget* parent = nullptr);

    // The operator as the fields hold it: the full name split at single spaces into
    // surname, name and the rest as thirdname.
    Common::Operator operatorData() const;
    QString login() const;

public Q_SLOTS:
    void OnSetData(Common::Operator Operator, QString LoginText);

private:
    QLineEdit* m_fullName;
    QLineEdit* m_rank;
    QLineEdit* m_post;
    QLineEdit* m_uid;
    QLineEdit* m_login;
    Common::Operator m_shown; // the record last set, kept for the members the fields leave alone
    QString m_shownFullName;
};
