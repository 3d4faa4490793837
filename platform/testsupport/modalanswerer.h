#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

// Answers the modal widgets that the code under test opens, so that an offscreen test never
// blocks in a nested event loop. Each appearance of a modal widget (a message box or any other
// dialog) takes the next planned answer and is recorded. One with no answer planned is recorded
// as unexpected and dismissed: its escape button, else its Cancel button, else rejected.
class ModalAnswerer : public QObject
{
public:
    using Handler = std::function<void(QWidget*)>;

    struct Box
    {
        QString className;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text; // another dialog: the texts of its labels, joined by ","
        QString informativeText;
        QString detailedText;
        QStringList buttons; // texts of a message box's buttons
        QMessageBox::StandardButtons standardButtons;
        bool expected = false; // an answer was planned for it

        // "class: title: text", prefixed with "unexpected " when no answer was planned.
        QString summary() const;
    };

    explicit ModalAnswerer(QObject* parent = nullptr);

    // A standard button of a message box, or of the button box of another dialog.
    void clickNext(QMessageBox::StandardButton button);
    void clickNext(const QString& buttonText);
    void escapeNext();
    void handleNext(const Handler& handler);

    void setPollInterval(int ms) { m_timer.setInterval(ms); }
    int pending() const { return m_answers.size(); }
    const QList<Box>& boxes() const { return m_boxes; }
    QStringList seen() const;

    // For handlers. A missing button rejects the dialog instead.
    static void click(QWidget* modal, QMessageBox::StandardButton button);
    static void click(QWidget* modal, const QString& buttonText);
    static void dismiss(QWidget* modal);

private:
    void poll();
    static Box describe(QWidget* modal);

    QTimer m_timer;
    QList<Handler> m_answers;
    QList<Box> m_boxes;
    // Guarded: a later dialog may be built at the address of one already gone.
    QPointer<QWidget> m_last;
};
