#include "board/Cp932.h"

#include <QTest>

class TestCp932 : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void invalidBytesStayVisible_data();
    void invalidBytesStayVisible();
    void unencodableIsRefused();
};

void TestCp932::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    // The characters where CP932 differs from plain Shift_JIS or where an
    // extension block is needed.
    QTest::newRow("wave dash is fullwidth tilde") << QByteArray("\x81\x60") << QString(QChar(0xFF5E));
    QTest::newRow("circled one (NEC row 13)") << QByteArray("\x87\x40") << QString(QChar(0x2460));
    QTest::newRow("taka (IBM extension)") << QByteArray("\xFB\xFC") << QString(QChar(0x9AD9));
    QTest::newRow("ideographic space") << QByteArray("\x81\x40") << QString(QChar(0x3000));
    QTest::newRow("booking text") << QByteArray("\x82\x50\x2D\x82\x51\x81\x40\x90\x94\x8A\x77")
                                  << QStringLiteral("１-２　数学");
    QTest::newRow("halfwidth katakana") << QByteArray("\xB1") << QStringLiteral("ｱ");
    QTest::newRow("room name") << QByteArray("\x97\x9D\x89\xC8\x8E\xBA") << QStringLiteral("理科室");
}

void TestCp932::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Cp932::decode(bytes), text);
    const auto encoded = Cp932::encode(text);
    QVERIFY(encoded.has_value());
    QCOMPARE(*encoded, bytes);
}

void TestCp932::invalidBytesStayVisible_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QChar bad = QChar::ReplacementCharacter;
    QTest::newRow("lone lead byte at the end") << QByteArray("\x82") << QString(bad);
    QTest::newRow("text then cut lead byte") << QByteArray("\x82\xA0\x82") << QString(QChar(0x3042)) + bad;
    QTest::newRow("unassigned single byte") << QByteArray("\xFF") << QString(bad);
}

void TestCp932::invalidBytesStayVisible()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Cp932::decode(bytes), text);
}

void TestCp932::unencodableIsRefused()
{
    QVERIFY(!Cp932::encode(QStringLiteral("1年\U0001F600")).has_value());
    QVERIFY(!Cp932::encode(QString(QChar::ReplacementCharacter)).has_value());
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
