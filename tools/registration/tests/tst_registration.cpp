#include "complexfixture.h"

#include "complexconfig.h"
#include "globalini.h"
#include "registration.h"

#include <QSettings>
#include <QTest>
#include <QTextStream>

namespace {

// A store whose uid supply has run dry.
class UidlessStore : public CoConfig::ComplexConfig
{
public:
    using CoConfig::ComplexConfig::ComplexConfig;
    int generateObjectUid(int) override { return -1; }
};

} // namespace

class TestRegistration : public QObject
{
    Q_OBJECT

private slots:
    void noOperatorUidChangesNothing();
};

void TestRegistration::noOperatorUidChangesNothing()
{
    ComplexFixture fixture;
    QVERIFY(fixture.createComplex({100}));
    Common::GlobalIni::ini().setValue(QStringLiteral("Arm/Uid"), 100);
    const auto before = fixture.files();

    UidlessStore store(fixture.configDir(), CoConfig::ObjectAll, CoConfig::ObjectArmUnions);
    const CoConfig::Computer armBefore = store.computers().value(CoConfig::ComponentUid<1>(100));
    Sulvane::Registration registration(store);
    const auto result = registration.registerLogin(QStringLiteral("оператор"));
    QCOMPARE(result, Sulvane::Registration::OperatorUidIsInvalid);

    QCOMPARE(store.operatorCount(), 1);
    QCOMPARE(store.computers().value(CoConfig::ComponentUid<1>(100)), armBefore);
    QCOMPARE(fixture.files(), before);

    QString output;
    QTextStream out(&output);
    registration.report(out, result);
    out.flush();
    QCOMPARE(output, QStringLiteral("Operator is not registered\nOperatorUidIsInvalid\n"));
}

QTEST_GUILESS_MAIN(TestRegistration)
#include "tst_registration.moc"
