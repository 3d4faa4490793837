#include "recordingstore.h"

#include <QCoreApplication>
#include <QVariant>

RecordingStore::RecordingStore(const QString& dirPath, QObject* parent)
    : CoConfig::ComplexConfig(dirPath, CoConfig::ObjectAll, CoConfig::ObjectArmUnions, parent)
{
}

bool RecordingStore::write(int types)
{
    QStringList log = qApp->property("fixtureLog").toStringList();
    log.append(QStringLiteral("store:write(%1)").arg(types));
    qApp->setProperty("fixtureLog", log);
    return CoConfig::ComplexConfig::write(types);
}
