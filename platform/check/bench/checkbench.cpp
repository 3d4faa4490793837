// Measures the reference check on the store benchmark's large complex against the store's read
// of the same directory, in a temporary folder (the check must stay well under the read).
#include "complexconfig.h"
#include "complexgenerator.h"
#include "recordnames.h"
#include "referencechecker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr int Rounds = 3; // the best of a few rounds: the machine is shared

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    const StoreTest::ComplexSizes sizes = StoreTest::ComplexSizes::large();
    std::printf("complex: %d channels, %d computers, %d operators, %d antennas, %d unions, %d of every other kind\n",
                sizes.channels, sizes.computers, sizes.operators, sizes.antennas, sizes.unions, sizes.others);
    {
        CoConfig::ComplexConfig store(dir, 0, 0);
        StoreTest::putInto(store, StoreTest::generateComplex(sizes, 1));
        if (!store.write(CoConfig::ObjectAll)) {
            std::fprintf(stderr, "write failed: %s\n", qPrintable(store.errorString()));
            return 1;
        }
    }

    double readTime = 0;
    double checkTime = 0;
    double namesTime = 0;
    qsizetype problems = 0;
    QElapsedTimer timer;
    for (int round = 0; round < Rounds; ++round) {
        timer.start();
        const auto store = std::make_unique<CoConfig::ComplexConfig>(dir, CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
        const double read = seconds(timer);
        if (store->readStatus() != 0) {
            std::fprintf(stderr, "read failed: %s\n", qPrintable(store->errorString()));
            return 1;
        }
        timer.start();
        QList<ConfigCheck::ConfigProblem> found = ConfigCheck::ReferenceChecker::check(*store);
        problems = found.size();
        const double check = seconds(timer);
        // What the editor adds to each check: the names of the records, for those removed later.
        timer.start();
        ConfigCheck::RecordNames names;
        names.gather(*store);
        names.nameMissing(found);
        const double named = seconds(timer);
        readTime = round == 0 ? read : qMin(readTime, read);
        checkTime = round == 0 ? check : qMin(checkTime, check);
        namesTime = round == 0 ? named : qMin(namesTime, named);
    }
    // The generated complex reuses channel server indexes and lists antennas in two unions,
    // so the check also builds a good many problem texts.
    std::printf("problems found:        %lld\n", static_cast<long long>(problems));
    std::printf("read (best of %d):      %.3f s\n", Rounds, readTime);
    std::printf("check (best of %d):     %.3f s  (ratio to the read %.2f; must stay under 1.50)\n", Rounds, checkTime,
                checkTime / readTime);
    std::printf("names (best of %d):     %.3f s  (limit 0.100)\n", Rounds, namesTime);
    return 0;
}
