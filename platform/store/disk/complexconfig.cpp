#include "complexconfig.h"

#include "currentlogin.h"
#include "directorycommit.h"
#include "dirlock.h"
#include "freedmemory.h"
#include "globalconfig.h"
#include "historyfiles.h"
#include "historyrecorder.h"
#include "kindfile.h"
#include "posixio.h"
#include "privatebytes.h"
#include "recorddocumentreader.h"
#include "writerlock.h"

#include <QBuffer>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include "textwriter.h"
#include <pugixml.hpp>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <thread>
#include <vector>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CoConfig {

namespace {

// Calls work(i) for each i of order, on this thread and on a helper for each other core, each
// taking the next as it is free. A helper can give its heap's freed memory back when it is done
// (see FreedMemory).
template <typename Work>
void sideBySide(const std::vector<size_t>& order, bool giveBack, Work work)
{
    std::atomic<size_t> next{0};
    auto run = [&] {
        for (size_t i = next++; i < order.size(); i = next++)
            work(order[i]);
    };
    const size_t helpers =
        order.size() > 1 ? std::min<size_t>(order.size(), std::max(1u, std::thread::hardware_concurrency())) - 1 : 0;
    std::vector<std::thread> threads;
    for (size_t i = 0; i < helpers; ++i) {
        threads.emplace_back([&] {
            run();
            if (giveBack)
                FreedMemory::giveBack();
        });
    }
    run();
    for (std::thread& thread : threads)
        thread.join();
}

template <typename Map>
QList<typename Map::mapped_type> valuesOf(const Map& map)
{
    return map.values();
}

QList<int> receiversOf(const QList<InteractionLink>& links, int source)
{
    QList<int> result;
    for (const InteractionLink& link : links) {
        if (link.source == source)
            result.append(link.receiver);
    }
    return result;
}

void removeAt(QList<InteractionLink>& links, int index)
{
    if (index >= 0 && index < links.size())
        links.removeAt(index);
}

// Where a commit may leave work files: the directories of the kind files.
const QStringList& kindDirectories()
{
    static const QStringList dirs = [] {
        QStringList result;
        for (const KindFile* file : KindFile::all()) {
            const QString dir = QFileInfo(file->path()).path();
            if (dir != QLatin1String(".") && !result.contains(dir))
                result.append(dir);
        }
        return result;
    }();
    return dirs;
}

int defaultLockTimeout()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("ORVANE_LOCK_TIMEOUT_MS", &ok);
    return ok && fromEnvironment >= 0 ? fromEnvironment : 5000;
}

} // namespace

ComplexConfig::ComplexConfig(int types, int extraTypes, QObject* parent)
    : ComplexConfig(Common::GlobalConfig::ConfigDir(nullptr, defaultConfigDir()), types, extraTypes, parent)
{
}

ComplexConfig::ComplexConfig(const QString& dirPath, int types, int extraTypes, QObject* parent)
    : ComplexConfigInterface(parent), m_dirPath(QDir::cleanPath(QFileInfo(dirPath).absoluteFilePath())),
      m_lockTimeoutMs(defaultLockTimeout())
{
    cleanLeftovers();
    read(types | extraTypes);
}

ComplexConfig::~ComplexConfig() = default;

QString ComplexConfig::defaultConfigDir()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Orvane/complex"));
}

// 1. The complex, its description, antennas and data storages.

int ComplexConfig::complexUid() const { return m_data.complexUid; }
void ComplexConfig::setComplexUid(int uid) { m_data.complexUid = uid; }

QList<ComplexInfo> ComplexConfig::complexInfos() const { return valuesOf(m_data.complexInfos); }
QMap<int, ComplexInfo>& ComplexConfig::complexInfosMap() { return m_data.complexInfos; }
const QMap<int, ComplexInfo>& ComplexConfig::complexInfosMap() const { return m_data.complexInfos; }
void ComplexConfig::clearComplexInfos() { m_data.complexInfos.clear(); }
void ComplexConfig::addComplexInfo(const ComplexInfo& info) { m_data.complexInfos.insert(info.uid, info); }
void ComplexConfig::removeComplexInfo(int uid) { m_data.complexInfos.remove(uid); }
int ComplexConfig::complexInfoCount() const { return int(m_data.complexInfos.size()); }

QList<Common::Antenna> ComplexConfig::antennas() const { return valuesOf(m_data.antennas); }
QMap<int, Common::Antenna>& ComplexConfig::antennasMap() { return m_data.antennas; }
const QMap<int, Common::Antenna>& ComplexConfig::antennasMap() const { return m_data.antennas; }
void ComplexConfig::clearAntennas() { m_data.antennas.clear(); }
void ComplexConfig::addAntenna(const Common::Antenna& antenna) { m_data.antennas.insert(antenna.uid, antenna); }
void ComplexConfig::removeAntenna(int uid) { m_data.antennas.remove(uid); }
int ComplexConfig::antennaCount() const { return int(m_data.antennas.size()); }

QList<DataStore::DataStorage> ComplexConfig::dataStorages() const { return valuesOf(m_data.dataStorages); }
QMap<int, DataStore::DataStorage>& ComplexConfig::dataStoragesMap() { return m_data.dataStorages; }
const QMap<int, DataStore::DataStorage>& ComplexConfig::dataStoragesMap() const { return m_data.dataStorages; }
void ComplexConfig::clearDataStorages() { m_data.dataStorages.clear(); }
void ComplexConfig::addDataStorage(const DataStore::DataStorage& storage) { m_data.dataStorages.insert(storage.uid, storage); }
void ComplexConfig::removeDataStorage(int uid) { m_data.dataStorages.remove(uid); }
int ComplexConfig::dataStorageCount() const { return int(m_data.dataStorages.size()); }

// 2. Direction finders, workstation unions, direction-finder unions.

QList<Pelengator> ComplexConfig::pelengators() const { return valuesOf(m_data.pelengators); }
QMap<int, Pelengator>& ComplexConfig::pelengatorsMap() { return m_data.pelengators; }
const QMap<int, Pelengator>& ComplexConfig::pelengatorsMap() const { return m_data.pelengators; }
Pelengator ComplexConfig::pelengator(int uid) const { return m_data.pelengators.value(uid); }
void ComplexConfig::clearPelengators() { m_data.pelengators.clear(); }
void ComplexConfig::addPelengator(const Pelengator& pelengator) { m_data.pelengators.insert(pelengator.uid, pelengator); }
void ComplexConfig::removePelengator(int uid) { m_data.pelengators.remove(uid); }
int ComplexConfig::pelengatorCount() const { return int(m_data.pelengators.size()); }

QList<ArmUnion> ComplexConfig::armUnions() const { return valuesOf(m_data.armUnions); }
QMap<int, ArmUnion>& ComplexConfig::armUnionsMap() { return m_data.armUnions; }
const QMap<int, ArmUnion>& ComplexConfig::armUnionsMap() const { return m_data.armUnions; }
ArmUnion ComplexConfig::armUnion(int uid) const { return m_data.armUnions.value(uid); }
void ComplexConfig::clearArmUnions() { m_data.armUnions.clear(); }
void ComplexConfig::addArmUnion(const ArmUnion& armUnion) { m_data.armUnions.insert(armUnion.uid, armUnion); }
void ComplexConfig::removeArmUnion(int uid) { m_data.armUnions.remove(uid); }
int ComplexConfig::armUnionCount() const { return int(m_data.armUnions.size()); }

QList<PelengatorUnion> ComplexConfig::pelengatorUnions() const { return valuesOf(m_data.pelengatorUnions); }
QMap<int, PelengatorUnion>& ComplexConfig::pelengatorUnionsMap() { return m_data.pelengatorUnions; }
const QMap<int, PelengatorUnion>& ComplexConfig::pelengatorUnionsMap() const { return m_data.pelengatorUnions; }
void ComplexConfig::clearPelengatorUnions() { m_data.pelengatorUnions.clear(); }
void ComplexConfig::addPelengatorUnion(const PelengatorUnion& pelengatorUnion)
{
    m_data.pelengatorUnions.insert(pelengatorUnion.uid, pelengatorUnion);
}
void ComplexConfig::removePelengatorUnion(int uid) { m_data.pelengatorUnions.remove(uid); }
int ComplexConfig::pelengatorUnionCount() const { return int(m_data.pelengatorUnions.size()); }

// 3. Operators and their registrations on workstations.

QList<Common::Operator> ComplexConfig::operators() const { return valuesOf(m_data.operators); }
QMap<int, Common::Operator>& ComplexConfig::operatorsMap() { return m_data.operators; }
const QMap<int, Common::Operator>& ComplexConfig::operatorsMap() const { return m_data.operators; }

QList<int> ComplexConfig::armsOperatorUids(int armUid) const
{
    QList<int> uids = m_data.computers.value(ComponentUid<1>(armUid)).registrations.values();
    std::sort(uids.begin(), uids.end());
    uids.erase(std::unique(uids.begin(), uids.end()), uids.end());
    return uids;
}

QHash<QString, int> ComplexConfig::armsOperatorUidsHash(int armUid) const
{
    return m_data.computers.value(ComponentUid<1>(armUid)).registrations.toHash();
}

void ComplexConfig::clearOperators() { m_data.operators.clear(); }
void ComplexConfig::addOperator(const Common::Operator& op) { m_data.operators.insert(op.uid, op); }
void ComplexConfig::removeOperator(int uid) { m_data.operators.remove(uid); }

Common::Operator ComplexConfig::currentOperator(int armUid) const
{
    const QString login = Common::currentLogin();
    const auto computer = m_data.computers.constFind(ComponentUid<1>(armUid));
    if (login.isEmpty() || computer == m_data.computers.cend())
        return {};
    const auto registration = computer->registrations.constFind(login);
    if (registration == computer->registrations.cend())
        return {};
    return m_data.operators.value(registration.value());
}

int ComplexConfig::operatorCount() const { return int(m_data.operators.size()); }

// 4. Derived views.

QMap<int, QList<int>> ComplexConfig::armsChannels() const
{
    QMap<int, QList<int>> result;
    const QMap<int, int> arms = channelsArm();
    for (auto it = arms.cbegin(); it != arms.cend(); ++it)
        result[it.value()].append(it.key());
    return result;
}

QMap<int, int> ComplexConfig::channelsArm() const
{
    QMap<int, int> result;
    const auto& servers = m_data.receivers.channelServers;
    for (const Channel& channel : m_data.receivers.channels) {
        const auto server = servers.constFind(channel.channelServer);
        if (server == servers.cend() || !m_data.computers.contains(server->computer))
            continue;
        result.insert(channel.uid.value, server->computer.value);
    }
    return result;
}

QMap<int, QList<int>> ComplexConfig::armUnionsAntennas() const
{
    QMap<int, QList<int>> result;
    for (const ArmUnion& armUnion : m_data.armUnions)
        result.insert(armUnion.uid, armUnion.antennaUids);
    return result;
}

// 5. Links between objects of the complex.

QList<InteractionLink> ComplexConfig::taskSetLinks() const { return m_data.taskSetLinks; }
void ComplexConfig::clearTaskSetLinks() { m_data.taskSetLinks.clear(); }
void ComplexConfig::addTaskSetLink(const InteractionLink& link) { m_data.taskSetLinks.append(link); }
void ComplexConfig::removeTaskSetLink(int index) { removeAt(m_data.taskSetLinks, index); }
int ComplexConfig::taskSetLinkCount() const { return int(m_data.taskSetLinks.size()); }
QList<int> ComplexConfig::taskSetReceivers(int source) const { return receiversOf(m_data.taskSetLinks, source); }

QList<InteractionLink> ComplexConfig::taskTransferLinks() const { return m_data.taskTransferLinks; }
void ComplexConfig::clearTaskTransferLinks() { m_data.taskTransferLinks.clear(); }
void ComplexConfig::addTaskTransferLink(const InteractionLink& link) { m_data.taskTransferLinks.append(link); }
void ComplexConfig::removeTaskTransferLink(int index) { removeAt(m_data.taskTransferLinks, index); }
int ComplexConfig::taskTransferLinkCount() const { return int(m_data.taskTransferLinks.size()); }
QList<int> ComplexConfig::taskTransferReceivers(int source) const
{
    return receiversOf(m_data.taskTransferLinks, source);
}

QList<InteractionLink> ComplexConfig::reportLinks() const { return m_data.reportLinks; }
void ComplexConfig::clearReportLinks() { m_data.reportLinks.clear(); }
void ComplexConfig::addReportLink(const InteractionLink& link) { m_data.reportLinks.append(link); }
void ComplexConfig::removeReportLink(int index) { removeAt(m_data.reportLinks, index); }
int ComplexConfig::reportLinkCount() const { return int(m_data.reportLinks.size()); }
QList<int> ComplexConfig::reportReceivers(int source) const { return receiversOf(m_data.reportLinks, source); }

QList<InteractionLink> ComplexConfig::dravikLinks() const { return m_data.dravikLinks; }
void ComplexConfig::clearDravikLinks() { m_data.dravikLinks.clear(); }
void ComplexConfig::addDravikLink(const InteractionLink& link) { m_data.dravikLinks.append(link); }
void ComplexConfig::removeDravikLink(int index) { removeAt(m_data.dravikLinks, index); }
int ComplexConfig::dravikLinkCount() const { return int(m_data.dravikLinks.size()); }
QList<int> ComplexConfig::dravikReceivers(int source) const { return receiversOf(m_data.dravikLinks, source); }

// 6. Component maps.

QMap<ComponentUid<0>, Rack>& ComplexConfig::racks() { return m_data.racks; }
const QMap<ComponentUid<0>, Rack>& ComplexConfig::racks() const { return m_data.racks; }
QMap<ComponentUid<1>, Computer>& ComplexConfig::computers() { return m_data.computers; }
const QMap<ComponentUid<1>, Computer>& ComplexConfig::computers() const { return m_data.computers; }
PowerConfig& ComplexConfig::power() { return m_data.power; }
const PowerConfig& ComplexConfig::power() const { return m_data.power; }
ReceiverConfig& ComplexConfig::receivers() { return m_data.receivers; }
const ReceiverConfig& ComplexConfig::receivers() const { return m_data.receivers; }

// 7. Look-ups, the directory, uids, reading and writing.

bool ComplexConfig::findChannel(int uid, Channel& channel) const
{
    const auto it = m_data.receivers.channels.constFind(ComponentUid<4>(uid));
    if (it == m_data.receivers.channels.cend())
        return false;
    channel = it.value();
    return true;
}

bool ComplexConfig::checkConfigDir() const
{
    const QFileInfo dir(resolvedDir());
    if (dir.exists())
        return dir.isDir() && ::access(PosixIo::encodePath(dir.absoluteFilePath()).constData(), R_OK | X_OK) == 0;
    // Missing: it can be created where the nearest existing ancestor is a writable directory.
    QString ancestor = dir.absolutePath();
    while (!QFileInfo::exists(ancestor) && ancestor != QDir::rootPath())
        ancestor = QFileInfo(ancestor).absolutePath();
    return QFileInfo(ancestor).isDir()
        && ::access(PosixIo::encodePath(ancestor).constData(), W_OK | X_OK) == 0;
}

QString ComplexConfig::configDirPath() const { return m_dirPath; }

int ComplexConfig::readStatus() const
{
    int status = 0;
    for (const KindFile* file : KindFile::all()) {
        if (m_failedFiles.contains(file->path()))
            status |= file->bit();
    }
    return status;
}

int ComplexConfig::updateReadStatus()
{
    const QString dir = resolvedDir();
    int changed = 0;
    for (const KindFile* file : KindFile::all()) {
        const auto known = m_stamps.constFind(file->path());
        if (known == m_stamps.cend())
            continue;
        const FileStamp now = stampOf(dir + QLatin1Char('/') + file->path());
        if (!(now == known.value())) {
            changed |= file->bit();
            m_reported.insert(file->path(), now); // told: a write may now replace it
        }
    }
    return changed;
}

int ComplexConfig::generateObjectUid(int type)
{
    const KindFile* file = KindFile::forUidType(type);
    if (!file || !m_marksError.isEmpty())
        return -1;
    // What this store read was given in the directory, even if removed from memory since.
    return m_uids.generate(type, m_data, qMax(m_marks.last(*file), file->lastUid(m_onDisk)));
}

int ComplexConfig::armUnionUidFromArmUid(int armUid) const
{
    for (const ArmUnion& armUnion : m_data.armUnions) {
        if (armUnion.armUids.contains(armUid))
            return armUnion.uid;
    }
    return -1;
}

void ComplexConfig::clear() { m_data = ComplexData(); }

QString ComplexConfig::errorString() const { return m_error; }

bool ComplexConfig::holdWriteLock()
{
    const QString dir = resolvedDir();
    if (!QFileInfo(dir).isDir())
        return true;
    QString error;
    if (m_updateLock.acquire(DirLock::lockPathFor(dir), DirLock::Exclusive, m_lockTimeoutMs, &error) != DirLock::TimedOut)
        return true; // or a directory where no lock file can be made: nobody else can write it either
    m_error = error;
    for (const KindFile* file : KindFile::all())
        m_failedFiles.insert(file->path());
    return false;
}

QString ComplexConfig::resolvedDir() const
{
    // A symbolic link to the directory: the files are written where it points.
    const QString canonical = QFileInfo(m_dirPath).canonicalFilePath();
    return canonical.isEmpty() ? m_dirPath : canonical;
}

ComplexConfig::FileStamp ComplexConfig::stampOf(const QString& path) const
{
    FileStamp stamp;
    struct stat st;
    if (::stat(PosixIo::encodePath(path).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    stamp.size = qint64(st.st_size);
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

void ComplexConfig::cleanLeftovers()
{
    const QString dir = resolvedDir();
    DirLock lock;
    if (!QFileInfo(dir).isDir() || !DirectoryCommit::hasLeftovers(dir, kindDirectories())
        || !lock.tryAcquire(DirLock::lockPathFor(dir), DirLock::Exclusive))
        return;
    QString ignored; // a commit that cannot be finished now is reported by read()
    DirectoryCommit::recover(dir, kindDirectories(), &ignored);
    // Nothing outside the directory is the store's: what lies beside it stays.
}

bool ComplexConfig::lockForReading(DirLock& lock, const QString& dir)
{
    QString error;
    if (!m_updateLock.isHeld()) {
        const DirLock::Outcome outcome = lock.acquire(DirLock::lockPathFor(dir), DirLock::Shared, m_lockTimeoutMs, &error);
        if (outcome == DirLock::TimedOut) {
            m_error = error;
            return false;
        }
        // A writer on another machine, whom flock may not reach, is waited for as well.
        WriterLock writer;
        const QDeadlineTimer deadline(qMax(0, m_lockTimeoutMs));
        while (writer.heldByLiveWriter(WriterLock::pathFor(dir))) {
            if (deadline.hasExpired()) {
                m_error = QStringLiteral("Каталог конфигурации занят другой программой (файл блокировки \"%1\"), "
                                         "ожидание %2 мс истекло")
                              .arg(WriterLock::pathFor(dir))
                              .arg(m_lockTimeoutMs);
                return false;
            }
            QThread::msleep(qBound(qint64(1), deadline.remainingTime(), qint64(20)));
        }
        // Read-only media without a lock file: nobody can be writing, nor finish a commit.
        if (!DirectoryCommit::hasRecord(dir))
            return true;
        if (outcome == DirLock::Failed) {
            m_error = QStringLiteral("Сохранение в \"%1\" не завершено, завершить его нельзя: %2").arg(dir, error);
            return false;
        }
        // A writer died during its commit: finish it, under the exclusive lock, before reading.
        if (lock.acquire(DirLock::lockPathFor(dir), DirLock::Exclusive, m_lockTimeoutMs, &error) != DirLock::Locked) {
            m_error = error;
            return false;
        }
    }
    if (!DirectoryCommit::recover(dir, kindDirectories(), &error)) {
        m_error = error;
        return false;
    }
    return true;
}

bool ComplexConfig::changedByOthers(const QList<const KindFile*>& files, const QString& dir)
{
    for (const KindFile* file : files) {
        const auto known = m_stamps.constFind(file->path());
        if (known == m_stamps.cend())
            continue; // never read here: the caller writes it as a whole
        const FileStamp now = stampOf(dir + QLatin1Char('/') + file->path());
        const auto reported = m_reported.constFind(file->path());
        if (now == known.value() || (reported != m_reported.cend() && now == reported.value()))
            continue;
        m_error = QStringLiteral("Файл \"%1\" изменён другой программой после чтения; конфигурация не сохранена, "
                                 "её нужно прочитать заново")
                      .arg(dir + QLatin1Char('/') + file->path());
        return true;
    }
    return false;
}

bool ComplexConfig::readFile(const KindFile& file, const QString& dir, ComplexData& into, QString* error) const
{
    const QString path = dir + QLatin1Char('/') + file.path();
    const QByteArray name = PosixIo::encodePath(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int cause = errno;
        struct stat st;
        // Only a kind never written is empty; a folder that cannot be searched, a file where the
        // folder should be or a dangling link is a file that cannot be reached.
        if (cause == ENOENT && ::lstat(name.constData(), &st) != 0 && errno == ENOENT)
            return true;
        *error = PosixIo::failure(QStringLiteral("открыть файл"), path, cause);
        return false;
    }
    QFile device;
    device.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    // A file of the store's own form is parsed at once (in place); anything else, and a file
    // larger than a kind file may be, is read again as a stream, which takes or refuses it and
    // says why.
    const qint64 limit = RecordDocumentReader::FileLimits.maxBytes;
    struct stat st;
    const qint64 size = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? qint64(st.st_size) : -1;
    if (const PosixIo::PrivateBytes mapped(fd, size <= limit ? size : 0); mapped.isValid()) {
        if (file.readParsed(mapped.data(), mapped.size(), into))
            return true;
        file.clear(into);
    } else if (device.size() <= limit) {
        errno = 0;
        QByteArray bytes = device.readAll();
        if (device.error() != QFileDevice::NoError) {
            *error = PosixIo::failure(QStringLiteral("прочитать файл"), path, errno ? errno : EIO);
            return false;
        }
        if (file.readParsed(bytes.data(), bytes.size(), into))
            return true;
        file.clear(into);
    }
    if (!device.seek(0)) {
        *error = PosixIo::failure(QStringLiteral("прочитать файл"), path, EIO);
        return false;
    }
    auto reader = std::make_unique<RecordDocumentReader>(&device, path);
    if (!file.read(*reader, into)) {
        *error = reader->errorString();
        return false;
    }
    return true;
}

bool ComplexConfig::read(int types)
{
    QList<const KindFile*> files;
    for (const KindFile* file : KindFile::all()) {
        if (file->selectedBy(types))
            files.append(file);
    }
    m_error.clear();
    if (files.isEmpty())
        return true;

    const QString dir = resolvedDir();
    QStringList errors;
    DirLock lock;
    const bool dirExists = QFileInfo(dir).isDir();
    // Without the lock a reader could see half of another program's commit.
    if (dirExists && !lockForReading(lock, dir)) {
        for (const KindFile* file : files)
            m_failedFiles.insert(file->path());
        return false;
    }
    if (!dirExists && QFileInfo::exists(dir)) {
        m_error = QStringLiteral("\"%1\" не является каталогом").arg(dir);
        for (const KindFile* file : files)
            m_failedFiles.insert(file->path());
        return false;
    }

    UidMarks marks;
    if (marks.read(dir, &m_marksError)) {
        m_marks.raise(marks);
        m_marksError.clear();
    } else {
        errors.append(m_marksError);
    }
    struct Read
    {
        const KindFile* file;
        qint64 size;
        ComplexData fresh;
        QString error;
        bool ok = true;
    };
    std::vector<Read> reads;
    for (const KindFile* file : files) {
        const FileStamp stamp = stampOf(dir + QLatin1Char('/') + file->path());
        const auto known = m_stamps.constFind(file->path());
        m_reported.remove(file->path());
        // Unchanged on disk and in memory since this store last read or wrote it: nothing to read.
        if (known != m_stamps.cend() && known.value() == stamp && !m_failedFiles.contains(file->path())
            && file->shared(m_data, m_onDisk))
            continue;
        m_stamps.insert(file->path(), stamp);
        reads.push_back({file, stamp.size, {}, {}});
    }
    // The files are read side by side, the largest first; each into data of its own.
    // A directory not made yet holds empty kinds.
    if (dirExists) {
        std::vector<size_t> order(reads.size());
        std::iota(order.begin(), order.end(), size_t(0));
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return reads[a].size > reads[b].size; });
        // What a helper's heap holds free (the bytes of its files, the records these replace)
        // would stay with it otherwise.
        sideBySide(order, true, [&](size_t i) {
            Read& read = reads[i];
            read.ok = readFile(*read.file, dir, read.fresh, &read.error);
        });
    }
    for (Read& read : reads) {
        if (read.ok) {
            read.file->take(m_data, read.fresh);
            read.file->copy(m_onDisk, m_data);
            m_failedFiles.remove(read.file->path());
        } else {
            m_failedFiles.insert(read.file->path());
            errors.append(read.error);
        }
    }
    m_error = errors.join(QLatin1Char('\n'));
    return errors.isEmpty();
}

bool ComplexConfig::serialise(const KindFile& file, const ComplexData& data, QByteArray* bytes, QString* error) const
{
    bytes->clear();
    // Room for about what the file held: a large file grown step by step would touch about
    // twice its size in new memory. Room not written to costs no memory.
    const qint64 last = m_stamps.value(file.path()).size;
    if (last > 0)
        bytes->reserve(qsizetype(last + last / 4 + 65536));
    Xml::TextWriter writer(bytes, 2);
    if (!file.write(writer, data, error))
        return false;
    if (writer.hasError()) {
        *error = QStringLiteral("Не удалось сформировать файл \"%1\"").arg(file.path());
        return false;
    }
    return true;
}

bool ComplexConfig::recordsAsRead(const KindFile& file) const
{
    const auto known = m_stamps.constFind(file.path());
    if (known == m_stamps.cend() || !known->exists || m_failedFiles.contains(file.path()))
        return false;
    // Compared as written where record equality cannot tell (it may leave members out).
    return file.shared(m_data, m_onDisk) || file.equal(m_data, m_onDisk) || file.writtenAlike(m_data, m_onDisk);
}

bool ComplexConfig::write(int types)
{
    m_error.clear();
    struct Kind
    {
        const KindFile* file;
        bool asRead = false;
        QByteArray bytes;
        QString error;
        bool ok = true;
    };
    std::vector<Kind> kinds;
    for (const KindFile* file : KindFile::all()) {
        if (file->selectedBy(types))
            kinds.push_back({file, false, {}, {}, true});
    }
    // Compared with what was read and serialised side by side, the largest first; each only
    // reads the data.
    std::vector<size_t> order(kinds.size());
    std::iota(order.begin(), order.end(), size_t(0));
    const auto sizeOf = [&](size_t i) { return m_stamps.value(kinds[i].file->path()).size; };
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return sizeOf(a) > sizeOf(b); });
    sideBySide(order, false, [&](size_t i) {
        Kind& kind = kinds[i];
        kind.asRead = recordsAsRead(*kind.file);
        kind.ok = kind.asRead || serialise(*kind.file, m_data, &kind.bytes, &kind.error);
    });
    QList<const KindFile*> files;
    QList<QByteArray> contents; // empty for records shared with what was read: see below
    QList<bool> shared;
    for (Kind& kind : kinds) {
        if (!kind.ok) {
            m_error = kind.error;
            return false;
        }
        files.append(kind.file);
        contents.append(std::move(kind.bytes));
        shared.append(kind.asRead);
    }
    if (files.isEmpty())
        return true;

    const QString dir = resolvedDir();
    // The history's blobs of what was serialised are written while the lock is taken.
    History::HistoryRecorder history(dir, configHistoryFiles());
    QHash<QString, QByteArray> serialised;
    for (int i = 0; i < files.size(); ++i) {
        if (!shared[i])
            serialised.insert(files[i]->path(), contents[i]);
    }
    history.writeBlobs(serialised);
    DirLock lock;
    if (!m_updateLock.isHeld()) {
        if (!QDir().mkpath(dir)) {
            m_error = QStringLiteral("Не удалось создать каталог \"%1\"").arg(dir);
            return false;
        }
        if (lock.acquire(DirLock::lockPathFor(dir), DirLock::Exclusive, m_lockTimeoutMs, &m_error) != DirLock::Locked)
            return false;
    }
    if (!DirectoryCommit::recover(dir, kindDirectories(), &m_error) || changedByOthers(files, dir))
        return false;

    // The marks on disk now (another writer's included), raised by what this store read and
    // what it writes, go with the commit.
    UidMarks marks;
    if (!marks.read(dir, &m_error))
        return false;
    marks.raise(m_marks);
    for (const KindFile* file : KindFile::all()) {
        if (file->uidType() != 0)
            marks.raise(*file, file->lastUid(m_onDisk));
    }
    for (const KindFile* file : std::as_const(files)) {
        if (file->uidType() != 0)
            marks.raise(*file, file->lastUid(m_data));
    }

    QStringList paths;
    for (const KindFile* file : std::as_const(files))
        paths.append(file->path());
    // Changes made to the files since the history's last commit are recorded before this write's.
    history.catchUp();
    DirectoryCommit commit(dir);
    if (!commit.begin(paths, &m_error))
        return false;
    // A writer stopped past the lock's lease may have lost it to another: its commit is taken back.
    const DirLock& held = m_updateLock.isHeld() ? m_updateLock : lock;
    commit.setGuard([&held, dir](QString* error) {
        if (!held.isHeld() || held.stillHeld())
            return true;
        *error = QStringLiteral("Блокировка каталога \"%1\" перешла к другой программе, пока шло сохранение; "
                                "конфигурация не сохранена")
                     .arg(dir);
        return false;
    });
    QList<int> toWrite;
    for (int i = 0; i < files.size(); ++i) {
        // Records as read from a file still as read: the file stays byte for byte, with its
        // comments, line ends, layout and whatever this version does not know.
        const auto known = m_stamps.constFind(paths[i]);
        if (known != m_stamps.cend() && stampOf(dir + QLatin1Char('/') + paths[i]) == known.value()
            && shared[i])
            continue;
        if (shared[i] && !serialise(*files[i], m_data, &contents[i], &m_error))
            return false;
        toWrite.append(i);
    }
    const QByteArray marksBytes = marks.toBytes();
    QHash<QString, QByteArray> written{{UidMarks::fileName(), marksBytes}};
    for (int i : std::as_const(toWrite))
        written.insert(paths[i], contents[i]);
    history.prepare(written);

    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int i : std::as_const(toWrite)) {
        const QString path = paths[i];
        // A file this store could not read is never replaced silently: it is kept beside the new one.
        if (m_failedFiles.contains(path) && commit.fileExists(path)) {
            const QString name = QFileInfo(path).fileName() + QStringLiteral(".unreadable-") + stamp;
            QString aside = name;
            for (int n = 2; QFileInfo::exists(QFileInfo(dir + QLatin1Char('/') + path).dir().filePath(aside)); ++n)
                aside = name + QLatin1Char('-') + QString::number(n);
            commit.keepOldFileAs(path, aside);
        }
        if (!commit.writeFile(path, contents[i], &m_error))
            return false;
    }
    if (!commit.writeFile(UidMarks::fileName(), marksBytes, &m_error) || !commit.commit(&m_error))
        return false;
    // The configuration's commit is durable: its history follows, still under the lock.
    history.record(m_restores.isEmpty() ? History::ChangeKind::Save : History::ChangeKind::Restore, m_restores);
    m_restores.clear();
    m_marks = marks;
    m_marksError.clear();

    for (const KindFile* file : std::as_const(files)) {
        m_failedFiles.remove(file->path());
        m_stamps.insert(file->path(), stampOf(dir + QLatin1Char('/') + file->path()));
        m_reported.remove(file->path());
        file->copy(m_onDisk, m_data);
    }
    return true;
}

} // namespace CoConfig
