#include "standardeditactions.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QToolBar>

StandardEditActions::StandardEditActions(const QString& name, QObject* parent)
    : QObject(parent), m_toolBar(new QToolBar(name))
{
    m_toolBar->setObjectName(name);

    struct Entry
    {
        const char* text;
        const char* icon;
        QKeySequence shortcut;
        const char* toolTip; // null: the text
    };
    const Entry entries[KeyCount] = {
        {QT_TRANSLATE_NOOP("QObject", "Добавить"), ":/icons/common/add.png", QKeySequence(Qt::Key_Insert), nullptr},
        {QT_TRANSLATE_NOOP("QObject", "Удалить"), ":/icons/common/remove.png", QKeySequence(QKeySequence::Delete), nullptr},
        {QT_TRANSLATE_NOOP("QObject", "Редактировать"), ":/icons/common/edit.png", QKeySequence(Qt::CTRL | Qt::Key_Return), nullptr},
        {QT_TRANSLATE_NOOP("QObject", "Заполнить"), nullptr, QKeySequence(),
         QT_TRANSLATE_NOOP("QObject", "Заполнить выделенные ячейки столбца значением текущей ячейки")},
        {QT_TRANSLATE_NOOP("QObject", "Заполнить счётчиком"), ":/icons/common/play.png", QKeySequence(),
         QT_TRANSLATE_NOOP("QObject", "Заполнить выделенные ячейки столбца счётчиком")},
        {QT_TRANSLATE_NOOP("QObject", "Скопировать"), ":/icons/common/copy.png", QKeySequence(QKeySequence::Copy), nullptr},
        {QT_TRANSLATE_NOOP("QObject", "Вставить"), ":/icons/common/paste.png", QKeySequence(QKeySequence::Paste), nullptr},
    };
    for (int key = 0; key < KeyCount; ++key) {
        const Entry& entry = entries[key];
        // A missing icon file gives an empty icon, never a failure.
        QAction* action = m_toolBar->addAction(entry.icon ? QIcon(QString::fromLatin1(entry.icon)) : QIcon(),
                                               QObject::tr(entry.text));
        action->setShortcut(entry.shortcut);
        action->setToolTip(QObject::tr(entry.toolTip ? entry.toolTip : entry.text));
        m_actions.insert(key, action);
    }
}

QToolBar* StandardEditActions::toolBar() const
{
    return m_toolBar;
}

StandardEditActions::~StandardEditActions()
{
    delete m_toolBar; // and with it the actions
}
