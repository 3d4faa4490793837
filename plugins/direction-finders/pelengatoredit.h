#pragma once

#include "records.h"

#include <QDialog>

class LatLonEdit;
class QLineEdit;

// Asks for the name and position of a virtual direction finder, new or existing.
// A new one becomes a fresh virtual record; an existing one keeps every member but the name
// and the position.
class PelengatorEdit : public QDialog
{
    Q_OBJECT

public:
    // A new direction finder that will carry this uid.
    explicit PelengatorEdit(int uid, QWidget* parent = nullptr);
    explicit PelengatorEdit(const CoConfig::Pelengator& pelengator, QWidget* parent = nullptr);

    CoConfig::Pelengator pelengator() const;

public Q_SLOTS:
    void onAccepted();

private:
    void build();

    QLineEdit* m_name = nullptr;
    LatLonEdit* m_position = nullptr;
    CoConfig::Pelengator m_pelengator;
    bool m_isNew = false;
};
