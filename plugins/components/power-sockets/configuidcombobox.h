#pragma once

#include "componenttype.h"
#include "componentuid.h"

#include <QWidget>

class QComboBox;

namespace CoConfig {
class ComplexConfigInterface;
}

// Chooses a component of several types: the type first, then a component of that type from the
// store. With no list of types, every type of Components::Types is offered.
class ConfigUidComboBox : public QWidget
{
    Q_OBJECT

public:
    ConfigUidComboBox(const CoConfig::ComplexConfigInterface* store, const QList<CoConfig::ComponentType>& types,
                      QWidget* parent = nullptr);

    // A type not offered or a component not listed leaves no current item.
    void setValue(const CoConfig::ConfigUid& value);
    // The chosen component; {-1, -1} once a type without one is chosen. Until the engineer
    // chooses a type, the value given to setValue, so that opening the editor changes nothing.
    CoConfig::ConfigUid value() const;

public Q_SLOTS:
    void typeIndexChanged(int index);

private:
    const CoConfig::ComplexConfigInterface* m_store;
    QComboBox* m_types;
    QComboBox* m_components;
    CoConfig::ConfigUid m_given;
};
