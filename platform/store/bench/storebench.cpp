// Measures the store on a large complex: write, read, bytes on disk, and how both compare with
// the bare XML work (the raw bytes read, a parse-only pass of the parser the store reads with, a
// tokenize-only pass of the stream reader; serialising to memory plus writing the bytes); then
// what the configuration's history adds to a save of one kind and to a whole rewrite.
//   orvane-bench-store [work-folder]     (default: a temporary folder)
#include "complexconfig.h"
#include "complexgenerator.h"
#include "historyfiles.h"
#include "historylog.h"
#include "textwriter.h"
#include "kindfile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <pugixml.hpp>

#include <algorithm>
#include <memory>
#include <vector>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

qint64 bytesUnder(const QString& dir)
{
    qint64 total = 0;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

// The least a reader of these files must do: open each and tokenize it.
double tokenizeOnly(const QString& dir)
{
    QElapsedTimer timer;
    timer.start();
    qint64 tokens = 0;
    for (const CoConfig::KindFile* file : CoConfig::KindFile::all()) {
        QFile device(dir + QLatin1Char('/') + file->path());
        if (!device.open(QIODevice::ReadOnly))
            continue;
        QXmlStreamReader reader(&device);
        while (!reader.atEnd()) {
            reader.readNext();
            ++tokens;
        }
        if (reader.hasError())
            std::fprintf(stderr, "%s: %s\n", qPrintable(device.fileName()), qPrintable(reader.errorString()));
    }
    const double elapsed = seconds(timer);
    std::printf("  tokens: %lld\n", tokens);
    return elapsed;
}

QByteArray fileBytes(const QString& path)
{
    QFile device(path);
    return device.open(QIODevice::ReadOnly) ? device.readAll() : QByteArray();
}

// The bytes alone: each kind file read into memory.
double rawRead(const QString& dir)
{
    QElapsedTimer timer;
    timer.start();
    qint64 total = 0;
    for (const CoConfig::KindFile* file : CoConfig::KindFile::all())
        total += fileBytes(dir + QLatin1Char('/') + file->path()).size();
    const double elapsed = seconds(timer);
    if (total == 0)
        std::fprintf(stderr, "no bytes read\n");
    return elapsed;
}

// The parser the store reads with, over the same bytes, building its document and no records.
double parseOnly(const QString& dir)
{
    QElapsedTimer timer;
    timer.start();
    for (const CoConfig::KindFile* file : CoConfig::KindFile::all()) {
        QByteArray bytes = fileBytes(dir + QLatin1Char('/') + file->path());
        pugi::xml_document document;
        if (!bytes.isEmpty() && !document.load_buffer_inplace(bytes.data(), size_t(bytes.size())))
            std::fprintf(stderr, "%s: not parsed\n", qPrintable(file->path()));
    }
    return seconds(timer);
}

// The least a durable writer must do: serialise each kind to memory, write and fsync it.
double serialiseAndWrite(const CoConfig::ComplexData& data, const QString& dir, bool sync)
{
    QElapsedTimer timer;
    timer.start();
    for (const CoConfig::KindFile* file : CoConfig::KindFile::all()) {
        QByteArray bytes;
        Xml::TextWriter writer(&bytes, 2);
        QString error;
        file->write(writer, data, &error);
        const QString path = dir + QLatin1Char('/') + file->path();
        QDir().mkpath(QFileInfo(path).absolutePath());
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size()
            || (sync && ::fsync(fd) != 0))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ::close(fd);
    }
    return seconds(timer);
}

struct SaveTimes
{
    double oneKind = 1e9;
    double rewrite = 1e9;
    double showRewrite = 0; // the rewrite's changes record by record, from the history
};

// A save of one changed record of one kind, and a rewrite of every file with every record
// changed (the other variant), each after the first save of the complex; the best of a few
// rounds, the store without history and the one with it taking turns so that the machine's
// load falls on both alike.
void savesWithAndWithoutHistory(const QString& dir, const CoConfig::ComplexData& data,
                                const CoConfig::ComplexData& other, SaveTimes* without, SaveTimes* with)
{
    constexpr int OneKindRounds = 9;
    constexpr int RewriteRounds = 4;
    std::unique_ptr<CoConfig::ComplexConfig> stores[2];
    for (int history = 0; history < 2; ++history) {
        qputenv("ORVANE_HISTORY", history ? "1" : "0");
        const QString path = dir + (history ? QStringLiteral("/with-history") : QStringLiteral("/without-history"));
        {
            CoConfig::ComplexConfig first(path, 0, 0);
            StoreTest::putInto(first, data);
            first.write(CoConfig::ObjectAll);
        }
        stores[history] = std::make_unique<CoConfig::ComplexConfig>(path, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
    }
    const auto timed = [](CoConfig::ComplexConfig& store, int types) {
        QElapsedTimer timer;
        timer.start();
        if (!store.write(types))
            std::fprintf(stderr, "write failed: %s\n", qPrintable(store.errorString()));
        return seconds(timer);
    };
    SaveTimes* times[2] = {without, with};
    for (int round = 0; round < OneKindRounds; ++round) {
        for (int history = 0; history < 2; ++history) {
            qputenv("ORVANE_HISTORY", history ? "1" : "0");
            stores[history]->operatorsMap().first().post = QStringLiteral("Дежурный %1").arg(round);
            times[history]->oneKind = std::min(times[history]->oneKind, timed(*stores[history], CoConfig::ObjectOperators));
        }
    }
    for (int round = 0; round < RewriteRounds; ++round) {
        for (int history = 0; history < 2; ++history) {
            qputenv("ORVANE_HISTORY", history ? "1" : "0");
            StoreTest::putInto(*stores[history], round % 2 ? data : other);
            times[history]->rewrite = std::min(times[history]->rewrite, timed(*stores[history], CoConfig::ObjectAll));
        }
    }
    QElapsedTimer timer;
    timer.start();
    History::HistoryEntry entry;
    QList<History::FileChanges> changes;
    QString error;
    if (!History::HistoryLog::changesOf(dir + QStringLiteral("/with-history"), QStringLiteral("HEAD"),
                                        CoConfig::configHistoryFiles().recordFiles, &entry, &changes, &error))
        std::fprintf(stderr, "show failed: %s\n", qPrintable(error));
    with->showRewrite = seconds(timer);
}

void printHistoryCost(const char* what, double without, double with, double limit)
{
    const double extra = (with / without - 1) * 100;
    std::printf("%-22s %.3f s without history, %.3f s with: +%.0f%% (limit +%.0f%%)%s\n", what, without, with, extra,
                limit, extra > limit ? "  OVER" : "");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qputenv("ORVANE_HISTORY", "0"); // the store alone; its history is measured below
    QTemporaryDir temp(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/orvane-bench-XXXXXX")
                                : QDir::tempPath() + QStringLiteral("/orvane-bench-XXXXXX"));
    if (!temp.isValid()) {
        std::fprintf(stderr, "cannot make a work folder\n");
        return 1;
    }
    const QString dir = temp.filePath(QStringLiteral("complex"));

    const StoreTest::ComplexSizes sizes = StoreTest::ComplexSizes::large();
    std::printf("complex: %d channels, %d computers, %d operators, %d antennas, %d unions, %d direction finders, "
                "%d of every other kind\n",
                sizes.channels, sizes.computers, sizes.operators, sizes.antennas, sizes.unions, sizes.pelengators,
                sizes.others);
    const CoConfig::ComplexData data = StoreTest::generateComplex(sizes, 1);

    QElapsedTimer timer;
    double writeTime = 0;
    {
        CoConfig::ComplexConfig store(dir, 0, 0);
        StoreTest::putInto(store, data);
        timer.start();
        if (!store.write(CoConfig::ObjectAll)) {
            std::fprintf(stderr, "write failed: %s\n", qPrintable(store.errorString()));
            return 1;
        }
        writeTime = seconds(timer);
    }
    double rewriteTime = 0;
    double oneKindTime = 0;
    double readTime = 0;
    // The read and the parse-only pass each the median of three rounds, taken by turns, so that
    // one slow round of this machine does not make the ratio; the pass runs with no store held.
    constexpr int ReadRounds = 3;
    std::vector<double> reads;
    std::vector<double> parses;
    for (int round = 0; round < ReadRounds; ++round) {
        {
            timer.start();
            const CoConfig::ComplexConfig store(dir, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
            reads.push_back(seconds(timer));
            if (store.readStatus() != 0 || !(store.data() == data)) {
                std::fprintf(stderr, "read back differs: %s\n", qPrintable(store.errorString()));
                return 1;
            }
        }
        parses.push_back(parseOnly(dir));
    }
    readTime = median(reads);
    {
        CoConfig::ComplexConfig store(dir, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
        timer.start();
        store.write(CoConfig::ObjectAll);
        rewriteTime = seconds(timer);
        // What the registration tool or the operator editor does: one record of one kind changed.
        store.operatorsMap().first().post = QStringLiteral("Дежурный");
        timer.start();
        if (!store.write(CoConfig::ObjectOperators)) {
            std::fprintf(stderr, "write failed: %s\n", qPrintable(store.errorString()));
            return 1;
        }
        oneKindTime = seconds(timer);
    }
    const double tokenizeTime = tokenizeOnly(dir);
    const double parseTime = median(parses);
    const double rawTime = rawRead(dir);
    const double plainWriteTime = serialiseAndWrite(data, temp.filePath(QStringLiteral("plain")), true);
    const double unsyncedWriteTime = serialiseAndWrite(data, temp.filePath(QStringLiteral("unsynced")), false);

    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("bytes on disk:         %lld\n", bytesUnder(dir));
    std::printf("write:                 %.3f s  (serialise + write + fsync: %.3f s, ratio %.2f; without fsync %.3f s)\n",
                writeTime, plainWriteTime, writeTime / plainWriteTime, unsyncedWriteTime);
    std::printf("rewrite, unchanged:    %.3f s\n", rewriteTime);
    std::printf("write of one kind:     %.3f s  (operators, one record changed)\n", oneKindTime);
    std::printf("read:                  %.3f s  (parse only: %.3f s, ratio %.2f, limit 2.00; at most 0.220 s)\n",
                readTime, parseTime, readTime / parseTime);
    std::printf("    (medians of %.3f, %.3f, %.3f s and of %.3f, %.3f, %.3f s)\n", reads[0], reads[1], reads[2],
                parses[0], parses[1], parses[2]);
    std::printf("  the bytes alone:     %.3f s;  the stream reader's tokens alone: %.3f s\n", rawTime, tokenizeTime);
    std::printf("peak memory:           %ld MB\n", usage.ru_maxrss / 1024);

    const CoConfig::ComplexData other = StoreTest::generateComplex(sizes, 2);
    SaveTimes without;
    SaveTimes with;
    savesWithAndWithoutHistory(temp.path(), data, other, &without, &with);
    printHistoryCost("history, one kind:", without.oneKind, with.oneKind, 20);
    printHistoryCost("history, rewrite:", without.rewrite, with.rewrite, 50);
    std::printf("history, its changes:  %.3f s  (the rewrite's, record by record; limit 1 s)%s\n", with.showRewrite,
                with.showRewrite > 1 ? "  OVER" : "");
    return 0;
}
