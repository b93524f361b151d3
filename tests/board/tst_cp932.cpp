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
    void decodingByCharacterAgrees_data();
    void decodingByCharacterAgrees();
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

// Where the system converter finds a fault, the Windows build decodes one
// character at a time along characterLength(); pieced together, that must
// read exactly like the whole input read at once.
void TestCp932::decodingByCharacterAgrees_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("characters");

    QTest::newRow("booking record text") << QByteArray("\x82\x50\x2D\x82\x51\x81\x40\x90\x94\x8A\x77") << 6;
    QTest::newRow("lead byte then space") << QByteArray("\x81\x20\x41") << 3;
    QTest::newRow("lead byte then quote") << QByteArray("\x82\x22") << 2;
    QTest::newRow("lead byte then CR LF") << QByteArray("\x82\x0D\x0A") << 3;
    QTest::newRow("lead byte then DEL") << QByteArray("\x81\x7F") << 2;
    QTest::newRow("lead byte then FD") << QByteArray("\x81\xFD\x41") << 3;
    QTest::newRow("unassigned pair") << QByteArray("\x85\x40\x41") << 2;
    QTest::newRow("unassigned pair, top row") << QByteArray("\xEF\x40") << 1;
    QTest::newRow("pair then lone A0") << QByteArray("\x82\x82\xA0\x41") << 3;
    QTest::newRow("halfwidth katakana run") << QByteArray("\xB1\xB2\xDF\xA1") << 4;
    QTest::newRow("user-defined area") << QByteArray("\xF0\x40\xF9\xFC") << 2;
    QTest::newRow("lead byte as trail byte") << QByteArray("\x81\x81\x81") << 2;
    QTest::newRow("cut lead byte at the end") << QByteArray("\x97\x9D\x89") << 2;
}

void TestCp932::decodingByCharacterAgrees()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, characters);
    QString pieced;
    int pieces = 0;
    for (qsizetype at = 0; at < bytes.size(); ++pieces) {
        const qsizetype length = Cp932::characterLength(bytes, at);
        QVERIFY(length == 1 || length == 2);
        pieced += Cp932::decode(bytes.sliced(at, length));
        at += length;
    }
    QCOMPARE(pieced, Cp932::decode(bytes));
    QCOMPARE(pieces, characters);
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
