#include "pelengatoredit.h"

#include "latlonedit.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

using CoConfig::Pelengator;

PelengatorEdit::PelengatorEdit(int uid, QWidget* parent) : QDialog(parent), m_isNew(true)
{
    // A fresh virtual record with that uid.
    m_pelengator.uid = uid;
    m_pelengator.linkUid = -1;
    m_pelengator.bandWidth = -1;
    m_pelengator.isVirtual = true;
    m_pelengator.marked = true;
    build();
}

PelengatorEdit::PelengatorEdit(const Pelengator& pelengator, QWidget* parent) : QDialog(parent), m_pelengator(pelengator)
{
    build();
}

void PelengatorEdit::build()
{
    setWindowTitle(QStringLiteral("Редактирование пеленгатора"));
    m_name = new QLineEdit(m_isNew ? tr("Новый пеленгатор") : m_pelengator.name);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->selectAll();
    const MapPoint point = m_isNew ? MapPoint() : MapPoint{m_pelengator.longitude, m_pelengator.latitude};
    m_position = new LatLonEdit(tr("Координаты"), point);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal);
    connect(buttons, &QDialogButtonBox::accepted, this, &PelengatorEdit::onAccepted);
    connect(buttons, &QDialogButtonBox::rejected, this, &PelengatorEdit::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addWidget(m_position);
    layout->addWidget(buttons);
}

void PelengatorEdit::onAccepted()
{
    if (m_name->text().isEmpty()) {
        QMessageBox::warning(this, tr("Ошибка"), tr("Введите имя пеленгатора"), QMessageBox::Ok);
        return;
    }
    accept();
}

Pelengator PelengatorEdit::pelengator() const
{
    // The dialog edits the name and the position; every other member stays as it was.
    Pelengator record = m_pelengator;
    record.name = m_name->text();
    const MapPoint point = m_position->point();
    record.latitude = point.latitude;
    record.longitude = point.longitude;
    return record;
}
