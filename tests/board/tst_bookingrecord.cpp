#include "board/BookingRecord.h"

#include <QTest>

class TestBookingRecord : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void format_data();
    void format();
};

void TestBookingRecord::parse_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("isRecord");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("quoted") << QByteArray("\"07/30-3\",\"abc\"") << true << QByteArray("07/30-3") << QByteArray("abc");
    QTest::newRow("clearing") << QByteArray("\"07/30-3\",\"\"") << true << QByteArray("07/30-3") << QByteArray();
    QTest::newRow("bare fields trimmed") << QByteArray("  07/30-3 , abc  ") << true << QByteArray("07/30-3") << QByteArray("abc");
    QTest::newRow("blanks around quotes") << QByteArray(" \"07/30-3\" ,\t\"a b\" ") << true << QByteArray("07/30-3") << QByteArray("a b");
    QTest::newRow("comma inside quotes") << QByteArray("\"07/30-3\",\"a,b\"") << true << QByteArray("07/30-3") << QByteArray("a,b");
    QTest::newRow("cp932 bytes kept") << QByteArray("\"07/30-3\",\"\x82\x50\x81\x40\"") << true << QByteArray("07/30-3") << QByteArray("\x82\x50\x81\x40");
    QTest::newRow("empty quoted key") << QByteArray("\"\",\"abc\"") << true << QByteArray() << QByteArray("abc");
    QTest::newRow("quote inside the text") << QByteArray("\"07/30-3\",\"a\"b\"") << false << QByteArray() << QByteArray();
    QTest::newRow("empty line") << QByteArray() << false << QByteArray() << QByteArray();
    QTest::newRow("one field") << QByteArray("\"07/30-3\"") << false << QByteArray() << QByteArray();
    QTest::newRow("three fields") << QByteArray("\"07/30-3\",\"a\",\"b\"") << false << QByteArray() << QByteArray();
    QTest::newRow("unterminated quote") << QByteArray("\"07/30-3\",\"abc") << false << QByteArray() << QByteArray();
    QTest::newRow("stray quote in bare field") << QByteArray("07/30\"-3,abc") << false << QByteArray() << QByteArray();
    QTest::newRow("text after closing quote") << QByteArray("\"07/30-3\",\"a\"b") << false << QByteArray() << QByteArray();
    // A record torn after its comma must not pass for a clearing.
    QTest::newRow("cut after the comma") << QByteArray("\"07/30-3\",") << false << QByteArray() << QByteArray();
    QTest::newRow("cut inside the text") << QByteArray("\"07/30-3\",\"\x82") << false << QByteArray() << QByteArray();
    QTest::newRow("nul padding") << QByteArray("\0\0\0\0", 4) << false << QByteArray() << QByteArray();
    QTest::newRow("zeros after the comma") << QByteArray("\"07/30-3\",\0\0\0", 13) << false << QByteArray() << QByteArray();
}

void TestBookingRecord::parse()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, isRecord);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, text);

    const auto record = BookingRecord::parse(line);
    QCOMPARE(record.has_value(), isRecord);
    if (record) {
        QCOMPARE(record->key.toByteArray(), key);
        QCOMPARE(record->text.toByteArray(), text);
    }
}

void TestBookingRecord::format_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("numbered booking") << "07/30-3" << QStringLiteral("１-２　数学")
        << QByteArray("\"07/30-3\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\x8A\x77\"\r\n");
    QTest::newRow("lettered booking") << "07/30-0" << QStringLiteral("１Ａ　　理科")
        << QByteArray("\"07/30-0\",\"\x82\x50\x82\x60\x81\x40\x81\x40\x97\x9D\x89\xC8\"\r\n");
    QTest::newRow("clearing") << "08/06-1" << QString() << QByteArray("\"08/06-1\",\"\"\r\n");
    QTest::newRow("quote refused") << "08/06-1" << "a\"b" << QByteArray();
    QTest::newRow("line break refused") << "08/06-1" << "a\nb" << QByteArray();
    QTest::newRow("no cp932 form refused") << "08/06-1" << QStringLiteral("\U0001F600") << QByteArray();
}

void TestBookingRecord::format()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    const auto formatted = BookingRecord::format(key, text);
    QCOMPARE(formatted.has_value(), !bytes.isEmpty());
    if (formatted) {
        QCOMPARE(*formatted, bytes);
        // What is written reads back as the same record.
        const auto back = BookingRecord::parse(QByteArrayView(*formatted).chopped(2));
        QVERIFY(back.has_value());
        QCOMPARE(back->key.toByteArray(), key.toLatin1());
    }
}

QTEST_GUILESS_MAIN(TestBookingRecord)
#include "tst_bookingrecord.moc"
