#include "historyrestore.h"

#include "complexconfig.h"
#include "historyfiles.h"
#include "historylog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace CoConfig {

bool restoreFromHistory(const QString& dir, const QString& revision, History::HistoryEntry* restored,
                        QString* made, QString* error)
{
    const History::TrackedFiles tracked = configHistoryFiles();
    QHash<QString, QByteArray> files;
    if (!History::HistoryLog::filesAt(dir, revision, tracked.recordFiles, restored, &files, error))
        return false;
    // The old files are read by a store of their own, so that they are checked as any files are.
    QTemporaryDir temp;
    if (!temp.isValid()) {
        *error = QStringLiteral("Не удалось создать временный каталог: %1").arg(temp.errorString());
        return false;
    }
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile file(temp.filePath(it.key()));
        if (!QDir().mkpath(QFileInfo(file).path()) || !file.open(QIODevice::WriteOnly) || file.write(*it) != it->size()) {
            *error = QStringLiteral("Не удалось записать \"%1\": %2").arg(file.fileName(), file.errorString());
            return false;
        }
    }
    const ComplexConfig old(temp.path(), ObjectAll, ObjectArmUnions);
    if (old.readStatus() != 0) {
        *error = QStringLiteral("Версия %1 не читается: %2").arg(restored->shortId(), old.errorString());
        return false;
    }

    ComplexConfig store(dir, 0, 0);
    if (!store.holdWriteLock() || !store.read(ObjectAll | ObjectArmUnions)) {
        *error = store.errorString();
        return false;
    }
    store.replaceData(old.data());
    store.markRestoreOf(restored->id);
    const QString before = History::HistoryLog::headOf(dir);
    if (!store.write(ObjectAll)) {
        *error = store.errorString();
        return false;
    }
    const QString after = History::HistoryLog::headOf(dir);
    *made = after != before ? after : QString();
    return true;
}

} // namespace CoConfig
