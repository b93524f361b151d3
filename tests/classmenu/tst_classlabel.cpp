#include "classmenu/ClassLabel.h"
#include "classmenu/ClassLists.h"

#include <QtTest>

namespace {

// Expected texts are spelt by code point: full-width characters, the
// ideographic space and the arrow all have look-alikes a literal would hide.
const QString IS(QChar(0x3000));
const QString Hyphen(QChar(0x2D));
const QString Nen(QChar(0x5E74));    // 年
const QString Kumi(QChar(0x7D44));   // 組
QString digit(int n) { return QString(QChar(0xFF10 + n)); }    // １ …
QString letter(int i) { return QString(QChar(0xFF21 + i)); }   // Ａ … from 0
const QString JK = letter(9) + letter(10);
const QString Sonota = QString::fromUtf16(u"\u305D\u306E\u4ED6");   // その他

} // namespace

class TestClassLabel : public QObject
{
    Q_OBJECT

private slots:
    void compose_data();
    void compose();
    void classEntries_data();
    void classEntries();
    void fixedEntries();
    void toggledMode_data();
    void toggledMode();
};

void TestClassLabel::compose_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("label");

    const QString space = QStringLiteral(" ");
    QTest::newRow("0 1nen A") << 0 << digit(1) + Nen << letter(0) + Kumi << digit(1) + letter(0) + IS;
    QTest::newRow("0 3nen I") << 0 << digit(3) + Nen << letter(8) + Kumi << digit(3) + letter(8) + IS;
    QTest::newRow("1 1nen 2") << 1 << digit(1) + Nen << digit(2) + Kumi << digit(1) + Hyphen + digit(2);
    QTest::newRow("1 2nen 9") << 1 << digit(2) + Nen << digit(9) + Kumi << digit(2) + Hyphen + digit(9);
    QTest::newRow("0 sonota B") << 0 << Sonota << letter(1) + Kumi << Sonota;
    QTest::newRow("1 sonota 3") << 1 << Sonota << digit(3) + Kumi << Sonota;
    QTest::newRow("0 JK B") << 0 << JK << letter(1) + Kumi << JK + letter(1);
    QTest::newRow("1 JK 2") << 1 << JK << digit(2) + Kumi << JK + Hyphen;
    QTest::newRow("0 1nen space") << 0 << digit(1) + Nen << space << digit(1) + space + IS;
    QTest::newRow("1 1nen space") << 1 << digit(1) + Nen << space << digit(1) + Hyphen + space;
    QTest::newRow("1 1nen blank") << 1 << digit(1) + Nen << QString() << digit(1) + Hyphen + IS;
    QTest::newRow("0 blank grade C") << 0 << QStringLiteral("") << letter(2) + Kumi << letter(2) + IS + IS;
    QTest::newRow("0 no grade C") << 0 << QString() << letter(2) + Kumi << letter(2) + IS + IS;
    QTest::newRow("0 nothing") << 0 << QString() << QString() << IS + IS;
    QTest::newRow("1 nothing") << 1 << QString() << QString() << Hyphen + IS + IS;
    // 2 is what a cancelled clearing leaves in the flag: lettered, no "-".
    QTest::newRow("2 1nen A") << 2 << digit(1) + Nen << letter(0) + Kumi << digit(1) + letter(0) + IS;
    QTest::newRow("2 nothing") << 2 << QString() << QString() << IS + IS;
}

void TestClassLabel::compose()
{
    QFETCH(int, mode);
    QFETCH(QString, grade);
    QFETCH(QString, cls);
    QFETCH(QString, label);

    QCOMPARE(ClassLabel::compose(mode, grade, cls), label);
}

void TestClassLabel::classEntries_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("numbered");

    QTest::newRow("0 lettered") << 0 << false;
    QTest::newRow("1 numbered") << 1 << true;
    QTest::newRow("2 lettered") << 2 << false;
}

void TestClassLabel::classEntries()
{
    QFETCH(int, mode);
    QFETCH(bool, numbered);

    const QString toggle = QString(QChar(0x31)) + QChar(0x21D4) + QChar(0x41);
    QStringList expected{QStringLiteral(" ")};
    for (int i = 0; i < 9; ++i)
        expected << (numbered ? digit(i + 1) : letter(i)) + Kumi;
    expected << QString() << toggle;

    QCOMPARE(ClassLists::classEntries(mode), expected);
    QCOMPARE(ClassLists::toggleEntry(), toggle);
}

void TestClassLabel::fixedEntries()
{
    const QStringList grades{digit(1) + Nen, digit(2) + Nen, digit(3) + Nen,
                             QString(), QString(), JK, Sonota};
    QCOMPARE(ClassLists::gradeEntries(), grades);

    const QStringList subjects = ClassLists::subjectEntries();
    QCOMPARE(subjects.size(), 14);
    QCOMPARE(subjects.first(), QString());
    QCOMPARE(subjects.at(2), QString::fromUtf16(u"\u59D4\u54E1\u4F1A"));   // 委員会
    QCOMPARE(subjects.last(), QString::fromUtf16(u"\u5BB6\u5EAD"));        // 家庭
}

void TestClassLabel::toggledMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("toggled");

    QTest::newRow("lettered") << 0 << 1;
    QTest::newRow("numbered") << 1 << 0;
    QTest::newRow("after cancelled clearing") << 2 << 1;
}

void TestClassLabel::toggledMode()
{
    QFETCH(int, mode);
    QFETCH(int, toggled);

    QCOMPARE(ClassLists::toggledMode(mode), toggled);
}

QTEST_GUILESS_MAIN(TestClassLabel)
#include "tst_classlabel.moc"
