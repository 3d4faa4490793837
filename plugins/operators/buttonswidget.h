#pragma once

#include <QList>
#include <QWidget>

class QPushButton;

// The page's buttons; each press is reported with the button's number.
class ButtonsWidget : public QWidget
{
    Q_OBJECT

public:
    enum Action { Add = 0, Remove = 1, Save = 2, Cancel = 3, Copy = 4, Paste = 5 };

    explicit ButtonsWidget(QWidget* parent = nullptr);

    QPushButton* button(int action) const { return m_buttons.value(action); }

Q_SIGNALS:
    void ButtonActionPressed(int Action);

private:
    QList<QPushButton*> m_buttons;
};
