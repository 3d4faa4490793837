#include "belvix.h"

#include <QApplication>
#include <QFontMetrics>
#include <QTest>

class TestBelvix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fitsItsTexts_data();
    void fitsItsTexts();
    void emptyTextsTakeNoLine();
    void closes_data();
    void closes();
};

void TestBelvix::fitsItsTexts_data()
{
    QTest::addColumn<QString>("fullName");
    QTest::addColumn<QString>("version");
    QTest::newRow("short") << QStringLiteral("Редактор") << QStringLiteral("Версия 1.0.1");
    QTest::newRow("long name") << QString(QStringLiteral("Редактор конфигурации ")).repeated(8)
                               << QStringLiteral("Версия 1.0.1");
    QTest::newRow("long version") << QStringLiteral("Редактор")
                                  << QString(QStringLiteral("Версия 1.0.1 ")).repeated(20);
}

void TestBelvix::fitsItsTexts()
{
    QFETCH(QString, fullName);
    QFETCH(QString, version);
    Belvix box(nullptr, QPixmap(), QString(), QString(), {QString()});
    box.setFullNameString(fullName);
    box.setVersionString(version);
    QCOMPARE(box.fullNameString(), fullName);
    QCOMPARE(box.versionString(), version);

    QFont bold = box.font();
    bold.setBold(true);
    bold.setPointSizeF(box.font().pointSizeF() * 1.5);
    QVERIFY(box.width() > QFontMetrics(bold).horizontalAdvance(fullName));
    QVERIFY(box.width() > QFontMetrics(box.font()).horizontalAdvance(version));
    QVERIFY(box.height() > QFontMetrics(bold).height() + QFontMetrics(box.font()).height());
}

void TestBelvix::emptyTextsTakeNoLine()
{
    Belvix box(nullptr, QPixmap(), QStringLiteral("Имя"), QStringLiteral("Версия"), {QString()});
    const int base = box.height();
    box.showMessage(QStringList());
    box.showModules();
    QCOMPARE(box.height(), base); // the one module is an empty string

    box.showMessage({QStringLiteral("Первая строка"), QString(), QStringLiteral("Вторая строка")});
    const int withMessages = box.height();
    QVERIFY(withMessages > base);

    Belvix withModules(nullptr, QPixmap(), QStringLiteral("Имя"), QStringLiteral("Версия"),
                       {QStringLiteral("Модуль 1"), QStringLiteral("Модуль 2")});
    const int hidden = withModules.height();
    withModules.showModules();
    QVERIFY(withModules.height() > hidden);
    withModules.showModules(false);
    QCOMPARE(withModules.height(), hidden);
}

void TestBelvix::closes_data()
{
    QTest::addColumn<bool>("byClick");
    QTest::newRow("escape") << false;
    QTest::newRow("click") << true;
}

void TestBelvix::closes()
{
    QFETCH(bool, byClick);
    Belvix box(nullptr, QPixmap(), QStringLiteral("Имя"), QStringLiteral("Версия"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Space);
    QVERIFY(box.isVisible()); // other keys leave it open

    if (byClick)
        QTest::mouseClick(&box, Qt::LeftButton, {}, box.rect().center());
    else
        QTest::keyClick(&box, Qt::Key_Escape);
    QVERIFY(!box.isVisible());

    box.show(); // the same box shows again
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.isVisible());
}

QTEST_MAIN(TestBelvix)
#include "tst_belvix.moc"
