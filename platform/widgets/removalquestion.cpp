#include "removalquestion.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace Common {

bool confirmRemoval(QWidget* parent, const QString& summary, const QString& details)
{
    QMessageBox box(QMessageBox::Question, parent ? parent->window()->windowTitle() : QString(),
                    summary + QLatin1Char(' ') + QCoreApplication::translate("Common", "Удалить?"), QMessageBox::NoButton,
                    parent);
    QPushButton* yes = box.addButton(QCoreApplication::translate("Common", "Да"), QMessageBox::YesRole);
    box.setDefaultButton(box.addButton(QCoreApplication::translate("Common", "Нет"), QMessageBox::NoRole));
    box.setInformativeText(details);
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace Common
