#include "computerflagsedit.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace CoConfig {

ComputerFlagsEdit::ComputerFlagsEdit(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    for (const ComputerFlag flag : Computers::Flags) {
        auto* box = new QCheckBox(Computers::name(flag), this);
        layout->addWidget(box);
        m_boxes.insert(flag, box);
        m_flags.insert(box, flag);
    }
    if (!Computers::Flags.isEmpty())
        setFocusProxy(m_boxes.value(Computers::Flags.first()));
    // Over the cell and the rows below it, like a drop-down list.
    setAutoFillBackground(true);
    setFixedSize(sizeHint());
}

void ComputerFlagsEdit::setFlags(const ComputerFlags& flags)
{
    for (QCheckBox* box : std::as_const(m_boxes))
        box->setChecked(false);
    for (const ComputerFlag flag : flags) {
        if (QCheckBox* box = m_boxes.value(flag))
            box->setChecked(true);
    }
}

ComputerFlags ComputerFlagsEdit::flags() const
{
    ComputerFlags checked;
    for (auto it = m_flags.cbegin(); it != m_flags.cend(); ++it) {
        if (it.key()->isChecked())
            checked.insert(it.value());
    }
    return checked;
}

} // namespace CoConfig
