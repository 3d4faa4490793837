#include "antennedit.h"

#include "antennas.h"

#include <QComboBox>
#include <QHBoxLayout>

namespace Common {

AntennEdit::AntennEdit(QWidget* parent) : QWidget(parent), m_box(new QComboBox(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);
    setFocusProxy(m_box);
}

void AntennEdit::setAntenns(const QList<Antenna>& antennas)
{
    m_antennas = antennas;
    m_box->clear();
    for (const Antenna& antenna : antennas)
        m_box->addItem(antennaText(antenna));
    m_box->setCurrentIndex(-1);
}

bool AntennEdit::setCurrentDiagram(int diagram)
{
    for (int i = 0; i < m_antennas.size(); ++i) {
        if (m_antennas.at(i).diagram == diagram) {
            m_box->setCurrentIndex(i);
            return true;
        }
    }
    m_box->setCurrentIndex(-1);
    return false;
}

bool AntennEdit::hasCurrent() const
{
    return m_box->currentIndex() >= 0 && m_box->currentIndex() < m_antennas.size();
}

Antenna AntennEdit::currentAntenna() const
{
    return hasCurrent() ? m_antennas.at(m_box->currentIndex()) : Antenna();
}

} // namespace Common
