#include "boxanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

BoxAnswerer::BoxAnswerer(const QStringList& answers, QObject* parent)
    : QObject(parent)
    , m_answers(answers)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::poll);
    m_timer.start();
}

QStringList BoxAnswerer::texts() const
{
    QStringList result;
    for (const Seen& box : m_seen)
        result.append(box.text);
    return result;
}

void BoxAnswerer::poll()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box->property("answered").toBool())
        return;
    box->setProperty("answered", true);

    Seen seen{box->icon(), box->windowTitle(), box->text(), box->informativeText(), box->detailedText(), {},
              box->standardButtons()};
    const QList<QAbstractButton*> buttons = box->buttons();
    for (QAbstractButton* button : buttons)
        seen.buttons.append(button->text());
    m_seen.append(seen);

    const QString answer = m_answers.isEmpty() ? QStringLiteral("Escape") : m_answers.takeFirst();
    for (QAbstractButton* button : buttons) {
        if (button->text() == answer) {
            button->click();
            return;
        }
    }
    QTest::keyClick(box, Qt::Key_Escape);
}
