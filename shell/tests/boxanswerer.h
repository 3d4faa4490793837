#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers the modal message boxes that the code under test opens, in order: each answer is the
// text of the button to click, or "Escape". A box beyond the planned answers gets Escape, so an
// unexpected box is recorded instead of blocking the test.
class BoxAnswerer : public QObject
{
    Q_OBJECT

public:
    struct Seen
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QString informativeText;
        QString detailedText;
        QStringList buttons;
        QMessageBox::StandardButtons standardButtons;
    };

    explicit BoxAnswerer(const QStringList& answers = {}, QObject* parent = nullptr);

    QList<Seen> seen() const { return m_seen; }
    QStringList texts() const;

private:
    void poll();

    QTimer m_timer;
    QStringList m_answers;
    QList<Seen> m_seen;
};
