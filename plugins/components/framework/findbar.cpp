#include "findbar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

FindBar::FindBar(QWidget* parent) : QWidget(parent), m_line(new QLineEdit(this)), m_count(new QLabel(this))
{
    m_line->setObjectName(QStringLiteral("find"));
    m_line->setPlaceholderText(tr("Найти"));
    m_line->setClearButtonEnabled(true);
    m_line->installEventFilter(this);
    m_count->setObjectName(QStringLiteral("findCount"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_line, 1);
    layout->addWidget(m_count);
    connect(m_line, &QLineEdit::textChanged, this, &FindBar::textChanged);
}

QString FindBar::text() const
{
    return m_line->text();
}

void FindBar::setCount(int shown, int total)
{
    m_count->setText(tr("%1 из %2").arg(shown).arg(total));
}

void FindBar::open()
{
    show();
    m_line->setFocus(Qt::ShortcutFocusReason);
    m_line->selectAll();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_line && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Escape:
            m_line->clear();
            hide();
            Q_EMIT closed();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            Q_EMIT leave();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
