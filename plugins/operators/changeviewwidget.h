#pragma once

#include "viewmode.h"

#include <QWidget>

class QRadioButton;

// Chooses how the operator tree is grouped.
class ChangeViewWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ChangeViewWidget(QWidget* parent = nullptr);

    ViewMode mode() const { return m_mode; }

Q_SIGNALS:
    void ChangeView(ViewMode Mode);

public Q_SLOTS:
    void OnGroupUnionClicked();
    void OnGroupOperatorClicked();

private:
    void setMode(ViewMode mode);

    QRadioButton* m_byUnion;
    QRadioButton* m_byOperator;
    ViewMode m_mode = GroupByOperator;
};
