#pragma once

#include "complexconfiginterface.h"
#include "complexdata.h"
#include "dirlock.h"
#include "uidallocator.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace CoConfig {

class KindFile;

// The configuration store over a directory of XML files, one file per kind of record
// (see kindfile.h for the files and the ComplexObjectType bits that select them).
//
// Reading: a file that is missing is an empty kind; a file that cannot be read leaves that
// kind's data as it was, is reported through errorString() and readStatus(), and is kept aside
// (renamed "<file>.unreadable-<time>", never deleted) before a later write replaces it.
// Writing is all-or-nothing across the files it replaces (DirectoryCommit), keeps the directory,
// its owners and modes, and is serialised with other programs by a lock file inside the
// directory (DirLock). A write refuses to replace a file that another program changed after this
// store read it, unless updateReadStatus() reported that change first (the caller then chose
// to replace it); a program that reads, changes and writes in one go holds the lock throughout
// instead (holdWriteLock()).
class ComplexConfig : public ComplexConfigInterface
{
    Q_OBJECT

public:
    // The directory comes from the workstation's settings (ORVANE_CONFIG_DIR overrides them).
    // Both sets are read at once; 1 is everything.
    explicit ComplexConfig(int types = ObjectAll, int extraTypes = ObjectArmUnions, QObject* parent = nullptr);
    ComplexConfig(const QString& dirPath, int types, int extraTypes, QObject* parent = nullptr);
    ~ComplexConfig() override;

    static QString defaultConfigDir();

    // How long read and write wait for another program's lock (default 5000 ms, or
    // ORVANE_LOCK_TIMEOUT_MS).
    void setLockTimeout(int milliseconds) { m_lockTimeoutMs = milliseconds; }
    int lockTimeout() const { return m_lockTimeoutMs; }

    const ComplexData& data() const { return m_data; }
    // Replaces every kind's records (as a restore of an earlier version does); a write then
    // stores what differs from the files.
    void replaceData(const ComplexData& data) { m_data = data; }

    // The next successful write goes into the directory's history as a return to that commit
    // of it (every write is recorded there: see historyfiles.h).
    void markRestoreOf(const QString& commitId) { m_restores = commitId; }

    // Holds the directory's exclusive lock until releaseWriteLock() or destruction, so that a
    // read and the write that follows it are one update no other program interleaves with.
    // False when the lock stays taken past the timeout: every kind then counts as unread
    // (readStatus()) and errorString() says why. A missing directory needs no lock yet.
    bool holdWriteLock();
    void releaseWriteLock() { m_updateLock.release(); }

    int complexUid() const override;
    void setComplexUid(int uid) override;

    QList<ComplexInfo> complexInfos() const override;
    QMap<int, ComplexInfo>& complexInfosMap() override;
    const QMap<int, ComplexInfo>& complexInfosMap() const override;
    void clearComplexInfos() override;
    void addComplexInfo(const ComplexInfo& info) override;
    void removeComplexInfo(int uid) override;
    int complexInfoCount() const override;

    QList<Common::Antenna> antennas() const override;
    QMap<int, Common::Antenna>& antennasMap() override;
    const QMap<int, Common::Antenna>& antennasMap() const override;
    void clearAntennas() override;
    void addAntenna(const Common::Antenna& antenna) override;
    void removeAntenna(int uid) override;
    int antennaCount() const override;

    QList<DataStore::DataStorage> dataStorages() const override;
    QMap<int, DataStore::DataStorage>& dataStoragesMap() override;
    const QMap<int, DataStore::DataStorage>& dataStoragesMap() const override;
    void clearDataStorages() override;
    void addDataStorage(const DataStore::DataStorage& storage) override;
    void removeDataStorage(int uid) override;
    int dataStorageCount() const override;

    QList<Pelengator> pelengators() const override;
    QMap<int, Pelengator>& pelengatorsMap() override;
    const QMap<int, Pelengator>& pelengatorsMap() const override;
    Pelengator pelengator(int uid) const override;
    void clearPelengators() override;
    void addPelengator(const Pelengator& pelengator) override;
    void removePelengator(int uid) override;
    int pelengatorCount() const override;

    QList<ArmUnion> armUnions() const override;
    QMap<int, ArmUnion>& armUnionsMap() override;
    const QMap<int, ArmUnion>& armUnionsMap() const override;
    ArmUnion armUnion(int uid) const override;
    void clearArmUnions() override;
    void addArmUnion(const ArmUnion& armUnion) override;
    void removeArmUnion(int uid) override;
    int armUnionCount() const override;

    QList<PelengatorUnion> pelengatorUnions() const override;
    QMap<int, PelengatorUnion>& pelengatorUnionsMap() override;
    const QMap<int, PelengatorUnion>& pelengatorUnionsMap() const override;
    void clearPelengatorUnions() override;
    void addPelengatorUnion(const PelengatorUnion& pelengatorUnion) override;
    void removePelengatorUnion(int uid) override;
    int pelengatorUnionCount() const override;

    QList<Common::Operator> operators() const override;
    QMap<int, Common::Operator>& operatorsMap() override;
    const QMap<int, Common::Operator>& operatorsMap() const override;
    QList<int> armsOperatorUids(int armUid) const override;
    QHash<QString, int> armsOperatorUidsHash(int armUid) const override;
    void clearOperators() override;
    void addOperator(const Common::Operator& op) override;
    void removeOperator(int uid) override;
    Common::Operator currentOperator(int armUid) const override;
    int operatorCount() const override;

    QMap<int, QList<int>> armsChannels() const override;
    QMap<int, int> channelsArm() const override;
    QMap<int, QList<int>> armUnionsAntennas() const override;

    QList<InteractionLink> taskSetLinks() const override;
    void clearTaskSetLinks() override;
    void addTaskSetLink(const InteractionLink& link) override;
    void removeTaskSetLink(int index) override;
    int taskSetLinkCount() const override;
    QList<int> taskSetReceivers(int source) const override;

    QList<InteractionLink> taskTransferLinks() const override;
    void clearTaskTransferLinks() override;
    void addTaskTransferLink(const InteractionLink& link) override;
    void removeTaskTransferLink(int index) override;
    int taskTransferLinkCount() const override;
    QList<int> taskTransferReceivers(int source) const override;

    QList<InteractionLink> reportLinks() const override;
    void clearReportLinks() override;
    void addReportLink(const InteractionLink& link) override;
    void removeReportLink(int index) override;
    int reportLinkCount() const override;
    QList<int> reportReceivers(int source) const override;

    QList<InteractionLink> dravikLinks() const override;
    void clearDravikLinks() override;
    void addDravikLink(const InteractionLink& link) override;
    void removeDravikLink(int index) override;
    int dravikLinkCount() const override;
    QList<int> dravikReceivers(int source) const override;

    QMap<ComponentUid<0>, Rack>& racks() override;
    const QMap<ComponentUid<0>, Rack>& racks() const override;
    QMap<ComponentUid<1>, Computer>& computers() override;
    const QMap<ComponentUid<1>, Computer>& computers() const override;
    PowerConfig& power() override;
    const PowerConfig& power() const override;
    ReceiverConfig& receivers() override;
    const ReceiverConfig& receivers() const override;

    bool findChannel(int uid, Channel& channel) const override;
    bool checkConfigDir() const override;
    QString configDirPath() const override;
    // Kinds without a bit of their own (the complex, data storages, links) report ObjectAll.
    int readStatus() const override;
    // The kinds whose files changed on disk (by another program) since this store last read or
    // wrote them; a later read() of those kinds takes the changes.
    int updateReadStatus() override;
    int generateObjectUid(int type) override;
    int armUnionUidFromArmUid(int armUid) const override;
    // A file unchanged on disk since this store read or wrote it, whose data nobody took a
    // mutable accessor to since, is not read again.
    bool read(int types) override;
    bool write(int types) override;
    void clear() override;
    QString errorString() const override;

private:
    // What identifies a file's content on disk, to notice changes made by others.
    struct FileStamp
    {
        bool exists = false;
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        friend bool operator==(const FileStamp& a, const FileStamp& b)
        {
            return a.exists == b.exists && a.device == b.device && a.inode == b.inode && a.size == b.size
                && a.modifiedNs == b.modifiedNs;
        }
    };

    QString resolvedDir() const;
    FileStamp stampOf(const QString& path) const;
    bool readFile(const KindFile& file, const QString& dir, ComplexData& into, QString* error) const;
    bool serialise(const KindFile& file, const ComplexData& data, QByteArray* bytes, QString* error) const;
    // Whether the kind's records are those this store last read or wrote, from a file that held
    // them: still shared with them, equal to them, or written as the same bytes.
    bool recordsAsRead(const KindFile& file) const;
    void cleanLeftovers();
    bool lockForReading(DirLock& lock, const QString& dir);
    bool changedByOthers(const QList<const KindFile*>& files, const QString& dir);

    QString m_dirPath;
    ComplexData m_data;
    ComplexData m_onDisk; // each kind as this store last read or wrote it, shared with m_data until changed
    UidAllocator m_uids;
    UidMarks m_marks;      // as last read or written
    QString m_marksError;  // why the marks could not be read: no uid is given until they are
    QSet<QString> m_failedFiles; // relative paths whose last read failed
    QHash<QString, FileStamp> m_stamps;
    QHash<QString, FileStamp> m_reported; // changes by others that updateReadStatus() told of
    DirLock m_updateLock;
    QString m_error;
    int m_lockTimeoutMs = 5000;
    QString m_restores; // the history commit the next write brings back
};

} // namespace CoConfig
