#include "antennedit.h"

#include "antennas.h"

#include <QComboBox>
#include <QHBoxLayout>

#include <algorithm>

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
    m_setIndex = -1;
}

bool AntennEdit::setCurrentDiagram(int diagram)
{
    return choose([diagram](const Antenna& antenna) { return antenna.diagram == diagram; });
}

bool AntennEdit::setCurrentUid(int uid)
{
    return choose([uid](const Antenna& antenna) { return antenna.uid == uid; });
}

bool AntennEdit::choose(const std::function<bool(const Antenna&)>& match)
{
    const auto found = std::find_if(m_antennas.cbegin(), m_antennas.cend(), match);
    m_setIndex = found == m_antennas.cend() ? -1 : int(found - m_antennas.cbegin());
    m_box->setCurrentIndex(m_setIndex);
    return m_setIndex >= 0;
}

bool AntennEdit::isChanged() const
{
    return m_box->currentIndex() != m_setIndex;
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
