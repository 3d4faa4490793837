#include "buttonswidget.h"

#include <QGridLayout>
#include <QPushButton>

ButtonsWidget::ButtonsWidget(QWidget* parent) : QWidget(parent)
{
    const QStringList texts = {tr("Добавить"), tr("Удалить"),  tr("Сохранить"),
                               tr("Отменить"), tr("Копировать"), tr("Вставить")};
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int action = 0; action < texts.size(); ++action) {
        auto* button = new QPushButton(texts.at(action), this);
        // Even numbers in the first row, odd ones under them.
        grid->addWidget(button, action % 2, action / 2);
        connect(button, &QPushButton::pressed, this, [this, action] { emit ButtonActionPressed(action); });
        m_buttons << button;
    }
    m_buttons.at(Add)->hide();
    m_buttons.at(Remove)->hide();
}
