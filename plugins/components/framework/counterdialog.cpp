#include "counterdialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {

QSpinBox* spinBox(int minimum, int maximum, int value, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

} // namespace

CounterDialog::CounterDialog(QWidget* parent)
    : QDialog(parent),
      m_mask(new QLineEdit(QStringLiteral("[C]"), this)),
      m_start(spinBox(0, 10000000, 0, this)),
      m_step(spinBox(0, 10000, 1, this)),
      m_digits(spinBox(1, 10, 1, this))
{
    setWindowTitle(tr("Настройки счётчика"));
    m_mask->setObjectName(QStringLiteral("mask"));
    m_start->setObjectName(QStringLiteral("start"));
    m_step->setObjectName(QStringLiteral("step"));
    m_digits->setObjectName(QStringLiteral("digits"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Маска"), this), 0, 0);
    layout->addWidget(m_mask, 0, 1);
    layout->addWidget(new QLabel(tr("Начать с"), this), 1, 0);
    layout->addWidget(m_start, 1, 1);
    layout->addWidget(new QLabel(tr("Шаг"), this), 2, 0);
    layout->addWidget(m_step, 2, 1);
    layout->addWidget(new QLabel(tr("Цифр"), this), 3, 0);
    layout->addWidget(m_digits, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    setFixedSize(sizeHint());
}

QString CounterDialog::counterText(int n) const
{
    // In 64 bits: 100000 cells at step 10000 from 10000000 pass the int range.
    const qint64 number = qint64(n) * m_step->value() + m_start->value();
    QString text = m_mask->text();
    return text.replace(QStringLiteral("[C]"), QStringLiteral("%1").arg(number, m_digits->value(), 10, QLatin1Char('0')),
                        Qt::CaseSensitive);
}
