#include "referenceproblemsdialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ReferenceProblemsDialog::ReferenceProblemsDialog(QWidget* parent)
    : QDialog(parent)
    , m_summary(new QLabel(this))
    , m_list(new QPlainTextEdit(this))
{
    setWindowTitle(tr("Ошибки в ссылках"));
    m_list->setReadOnly(true);
    m_list->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_list->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("Закрыть"));
    QPushButton* copy = buttons->addButton(tr("Скопировать всё"), QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(text()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(720, 360);
}

void ReferenceProblemsDialog::setProblems(const QList<ConfigCheck::ConfigProblem>& problems)
{
    m_summary->setText(problems.isEmpty() ? tr("Ошибок в ссылках нет.")
                                          : tr("Ошибок в ссылках: %1. Исправьте записи во вкладках и сохраните "
                                               "конфигурацию.")
                                                .arg(problems.size()));
    m_problems = problems;
    QStringList lines;
    lines.reserve(problems.size());
    for (const ConfigCheck::ConfigProblem& problem : problems)
        lines.append(problem.text());
    m_list->setPlainText(lines.join(QLatin1Char('\n')));
}

bool ReferenceProblemsDialog::eventFilter(QObject* watched, QEvent* event)
{
    const bool doubleClick = watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick;
    const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
    const bool enter = watched == m_list && key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    if (!doubleClick && !enter)
        return QDialog::eventFilter(watched, event);
    if (doubleClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_list->setTextCursor(m_list->cursorForPosition(mouse->position().toPoint()));
    }
    const int line = m_list->textCursor().blockNumber();
    if (line >= 0 && line < m_problems.size())
        Q_EMIT problemActivated(m_problems.at(line));
    return true;
}

QString ReferenceProblemsDialog::text() const
{
    return m_list->toPlainText();
}
