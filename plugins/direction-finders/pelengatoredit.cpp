#include "pelengatoredit.h"

#include "latlonedit.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

using CoConfig::Pelengator;

PelengatorEdit::PelengatorEdit(int uid, QWidget* parent) : QDialog(parent)
{
    // Built as a new record (uid -1), then given its uid.
    m_pelengator.bandWidth = -1;
    build();
    m_pelengator.uid = uid;
}

PelengatorEdit::PelengatorEdit(const Pelengator& pelengator, QWidget* parent) : QDialog(parent), m_pelengator(pelengator)
{
    build();
}

void PelengatorEdit::build()
{
    setWindowTitle(QStringLiteral("Редактирование пеленгатора"));
    const bool isNew = m_pelengator.uid == -1;
    m_name = new QLineEdit(isNew ? tr("Новый пеленгатор") : m_pelengator.name);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->selectAll();
    const MapPoint point = isNew ? MapPoint() : MapPoint{m_pelengator.longitude, m_pelengator.latitude};
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
    Pelengator record;
    record.uid = m_pelengator.uid;
    record.linkUid = -1;
    record.name = m_name->text();
    record.capabilities = 0;
    record.bandStart = 0;
    record.bandWidth = -1;
    const MapPoint point = m_position->point();
    record.latitude = point.latitude;
    record.longitude = point.longitude;
    record.isVirtual = true;
    record.marked = true;
    return record;
}
