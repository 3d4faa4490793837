#include "configuidcombobox.h"

#include "components.h"
#include "socketobjects.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QSize>

ConfigUidComboBox::ConfigUidComboBox(const CoConfig::ComplexConfigInterface* store,
                                     const QList<CoConfig::ComponentType>& types, QWidget* parent)
    : QWidget(parent), m_store(store), m_types(new QComboBox(this)), m_components(new QComboBox(this))
{
    setMinimumWidth(400);
    setAutoFillBackground(true); // wider than its cell: the cell's text must not show through
    for (const CoConfig::ComponentType type : types.isEmpty() ? CoConfig::Components::Types : types)
        m_types->addItem(QIcon(), CoConfig::Components::name(type), QVariant(int(type)));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_types);
    layout->addWidget(m_components);
    setFocusProxy(m_types);
    connect(m_types, &QComboBox::currentIndexChanged, this, &ConfigUidComboBox::typeIndexChanged);
    typeIndexChanged(m_types->currentIndex());
}

void ConfigUidComboBox::typeIndexChanged(int index)
{
    if (index < 0)
        return;
    m_given = CoConfig::ConfigUid();
    m_components->clear();
    if (!m_store)
        return;
    const int type = m_types->itemData(index).toInt();
    for (const SocketObjects::Choice& choice : SocketObjects::choices(*m_store, type))
        m_components->addItem(QIcon(), choice.text, QVariant(QSize(choice.object.value, choice.object.type)));
}

void ConfigUidComboBox::setValue(const CoConfig::ConfigUid& value)
{
    m_types->setCurrentIndex(m_types->findData(QVariant(value.type)));
    m_components->setCurrentIndex(m_components->findData(QVariant(QSize(value.value, value.type))));
    m_given = value;
}

CoConfig::ConfigUid ConfigUidComboBox::value() const
{
    if (m_components->currentIndex() >= 0) {
        const QSize size = m_components->currentData().toSize();
        return CoConfig::ConfigUid{size.width(), size.height()};
    }
    return m_given;
}
