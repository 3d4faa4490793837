#pragma once

#include <QWidget>

class PelengatorsView;

namespace CoConfig {
class ComplexConfigInterface;
}

// The tab page: the tree of direction finders.
class PelengatorsListEdit : public QWidget
{
    Q_OBJECT

public:
    explicit PelengatorsListEdit(CoConfig::ComplexConfigInterface* store, QWidget* parent = nullptr);

    PelengatorsView* view() const { return m_view; }

Q_SIGNALS:
    CoConfig::ComplexConfigInterface* onWriteConfig();

public Q_SLOTS:
    // Commits the list into the store; the store, or null when the list is read-only.
    CoConfig::ComplexConfigInterface* writeConfig();

private:
    PelengatorsView* m_view;
};
