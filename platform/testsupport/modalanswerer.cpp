#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

ModalAnswerer::ModalAnswerer(QObject* parent) : QObject(parent)
{
    // Single-shot and re-armed at the start of each poll: a handler may block in a nested
    // modal loop, and the next box must still be answered from there.
    m_timer.setSingleShot(true);
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start();
}

QString ModalAnswerer::Box::summary() const
{
    return QStringLiteral("%1%2: %3: %4")
        .arg(expected ? QString() : QStringLiteral("unexpected "), className, title, text);
}

void ModalAnswerer::clickNext(QMessageBox::StandardButton button)
{
    m_answers.append([button](QWidget* modal) { click(modal, button); });
}

void ModalAnswerer::clickNext(const QString& buttonText)
{
    m_answers.append([buttonText](QWidget* modal) { click(modal, buttonText); });
}

void ModalAnswerer::escapeNext()
{
    m_answers.append([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
}

void ModalAnswerer::handleNext(const Handler& handler)
{
    m_answers.append(handler);
}

QStringList ModalAnswerer::seen() const
{
    QStringList lines;
    for (const Box& box : m_boxes)
        lines << box.summary();
    return lines;
}

void ModalAnswerer::click(QWidget* modal, QMessageBox::StandardButton button)
{
    QAbstractButton* found = nullptr;
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        found = box->button(button);
    else if (auto* buttons = modal->findChild<QDialogButtonBox*>())
        found = buttons->button(static_cast<QDialogButtonBox::StandardButton>(button));
    if (found)
        found->click();
    else if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
}

void ModalAnswerer::click(QWidget* modal, const QString& buttonText)
{
    for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
        if (button->text() == buttonText) {
            button->click();
            return;
        }
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
}

void ModalAnswerer::dismiss(QWidget* modal)
{
    if (qobject_cast<QMessageBox*>(modal)) {
        QTest::keyClick(modal, Qt::Key_Escape); // nothing happens when the box has no escape button
    } else if (auto* buttons = modal->findChild<QDialogButtonBox*>()) {
        if (QAbstractButton* cancel = buttons->button(QDialogButtonBox::Cancel))
            cancel->click();
    }
    if (!modal->isVisible())
        return;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

ModalAnswerer::Box ModalAnswerer::describe(QWidget* modal)
{
    Box seen;
    seen.className = QString::fromLatin1(modal->metaObject()->className());
    seen.title = modal->windowTitle().remove(QLatin1String("[*]")); // as shown: the placeholder of the unsaved mark
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen.icon = box->icon();
        seen.text = box->text();
        seen.informativeText = box->informativeText();
        seen.detailedText = box->detailedText();
        for (QAbstractButton* button : box->buttons())
            seen.buttons << button->text();
        seen.standardButtons = box->standardButtons();
    } else {
        QStringList labels;
        for (QLabel* label : modal->findChildren<QLabel*>())
            labels << label->text();
        seen.text = labels.join(QLatin1Char(','));
    }
    return seen;
}

void ModalAnswerer::poll()
{
    m_timer.start();
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
        m_last = nullptr; // a dialog shown again later is a new appearance
        return;
    }
    if (modal == m_last)
        return;
    m_last = modal;
    Box seen = describe(modal);
    seen.expected = !m_answers.isEmpty();
    m_boxes.append(seen);
    if (m_answers.isEmpty())
        dismiss(modal);
    else
        m_answers.takeFirst()(modal);
}
