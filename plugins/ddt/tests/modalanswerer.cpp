#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>

ModalAnswerer::ModalAnswerer(QObject* parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::answerOpenBox);
    m_timer.start(10);
}

void ModalAnswerer::clear()
{
    m_answers.clear();
    m_boxes.clear();
}

void ModalAnswerer::answerOpenBox()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            m_boxes.append({QMessageBox::NoIcon, dialog->windowTitle(), QString()});
            dialog->reject();
        }
        return;
    }
    m_boxes.append({box->icon(), box->windowTitle(), box->text()});
    QMessageBox::StandardButton wanted = m_answers.isEmpty() ? QMessageBox::Discard : m_answers.takeFirst();
    QAbstractButton* button = box->button(wanted);
    if (!button)
        button = box->button(QMessageBox::Discard) ? box->button(QMessageBox::Discard) : box->button(QMessageBox::Ok);
    if (button)
        button->click();
    else
        box->reject();
}
