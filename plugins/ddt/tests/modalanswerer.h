#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QTimer>

// Answers the modal boxes that a test provokes and records what they said. Message boxes get the
// queued answers in turn (Discard or Ok when none is queued); other dialogs are cancelled.
class ModalAnswerer : public QObject
{
    Q_OBJECT

public:
    struct Box
    {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text;
    };

    explicit ModalAnswerer(QObject* parent = nullptr);

    void answerNext(QMessageBox::StandardButton button) { m_answers.append(button); }
    const QList<Box>& boxes() const { return m_boxes; }
    void clear();

private:
    void answerOpenBox();

    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_answers;
    QList<Box> m_boxes;
};
