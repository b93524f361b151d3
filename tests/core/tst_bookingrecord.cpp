#include "core/BookingRecord.h"
#include "core/Cp932.h"

#include <QTest>

class TestBookingRecord : public QObject
{
    Q_OBJECT
private slots:
    // A line of the file and the key and text it holds; none when it is no
    // record.
    void parse_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArrayList>("fields");

        const QByteArrayList none;
        QTest::newRow("booking") << QByteArray("\"07/30-3\",\"\x82\x50,\x81\x40\"") << QByteArrayList{"07/30-3", "\x82\x50,\x81\x40"};
        QTest::newRow("clearing") << QByteArray("\"07/30-3\",\"\"") << QByteArrayList{"07/30-3", ""};
        QTest::newRow("bare fields, blanks trimmed") << QByteArray(" \t07/30-3 , a b\t ") << QByteArrayList{"07/30-3", "a b"};
        QTest::newRow("blanks around quotes") << QByteArray(" \"07/30-3\"\t, \"a\" ") << QByteArrayList{"07/30-3", "a"};
        QTest::newRow("bare key, quoted text") << QByteArray("07/30-3,\"a\"") << QByteArrayList{"07/30-3", "a"};
        QTest::newRow("three fields") << QByteArray("\"07/30-3\",\"a\",\"b\"") << none;
        QTest::newRow("quote before the closing one") << QByteArray("\"07/30-3\",\"ab\"\"") << none;
        QTest::newRow("quote inside the key") << QByteArray("\"07/\"30-3\",\"a\"") << none;
        QTest::newRow("stray quote in a bare field") << QByteArray("07/30\"-3,abc") << none;
        QTest::newRow("stray quote before a quoted field") << QByteArray("x07/30-3\",\"a\"") << none;
        QTest::newRow("key without its comma") << QByteArray("\"07/30-3\" \"a\"") << none;
        QTest::newRow("empty bare key") << QByteArray(" ,\"a\"") << none;
    }

    void parse()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArrayList, fields);

        // A line lies in the reader's buffer with more of the file after it.
        const QByteArray buffer = line + " \"\r\n\"07/30-1\",\"x\"";
        const auto record = BookingRecord::parse(QByteArrayView(buffer).first(line.size()));
        QCOMPARE(record.has_value(), !fields.isEmpty());
        if (record)
            QCOMPARE((QByteArrayList{record->key.toByteArray(), record->text.toByteArray()}), fields);
    }

    // A text field's bytes, the text shown, the characters the Windows build decodes one at
    // a time when the whole fails, and whether a booking appends exactly these bytes.
    void text_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("characters");
        QTest::addColumn<bool>("written");

        const QString bad(QChar::ReplacementCharacter);
        QTest::newRow("booking") << QByteArray("\x82\x50\x2D\x82\x51\x81\x40\x90\x94\x8A\x77")
                                 << "１-２　数学" << 6 << true;
        QTest::newRow("clearing") << QByteArray() << QString() << 0 << true;
        // Would not read back as written.
        QTest::newRow("quote") << QByteArray("a\"b") << "a\"b" << 3 << false;
        QTest::newRow("carriage return") << QByteArray("a\rb") << "a\rb" << 3 << false;
        QTest::newRow("line feed") << QByteArray("a\nb") << "a\nb" << 3 << false;
        // Where CP932 differs from plain Shift_JIS.
        QTest::newRow("wave dash is the full-width tilde") << QByteArray("\x81\x60") << "～" << 1 << true;
        QTest::newRow("NEC row 13") << QByteArray("\x87\x40") << "①" << 1 << true;
        // Lead and trail bytes at the edges of their ranges.
        QTest::newRow("9F leads") << QByteArray("\x9F\xFC") << "滌" << 1 << true;
        QTest::newRow("A0 stands alone") << QByteArray("\xA0\x40") << bad + "@" << 2 << false;
        QTest::newRow("DF is half-width katakana") << QByteArray("\xDF\x40") << "ﾟ@" << 2 << true;
        QTest::newRow("E0 leads") << QByteArray("\xE0\x40") << "漾" << 1 << true;
        QTest::newRow("FC leads") << QByteArray("\xFC\x40") << "髜" << 1 << true;
        QTest::newRow("FD stands alone") << QByteArray("\xFD\x40") << bad + "@" << 2 << false;
        QTest::newRow("80 trails") << QByteArray("\x81\x80") << "÷" << 1 << true;
        QTest::newRow("FC trails") << QByteArray("\x81\xFC") << "◯" << 1 << true;
#ifdef Q_OS_WIN
        const QString del = QStringLiteral("\x7F"); // Windows' code page 932 has DEL there
#else
        const QString del = bad; // ICU's has nothing
#endif
        QTest::newRow("7F never trails") << QByteArray("\x81\x7F") << bad + del << 2 << false;
        QTest::newRow("FD never trails") << QByteArray("\x81\xFD\x41") << bad + bad + "A" << 3 << false;
        QTest::newRow("quote never trails") << QByteArray("\x82\x22") << bad + "\"" << 2 << false;
        QTest::newRow("lead byte as trail byte, last cut off") << QByteArray("\x81\x81\x81") << "＝" + bad << 2 << false;
        // A damaged record still shows as booked.
        QTest::newRow("invalid byte") << QByteArray("\xFF") << bad << 1 << false;
        QTest::newRow("unassigned pair") << QByteArray("\x85\x40") << bad << 1 << false;
    }

    void text()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, characters);
        QFETCH(bool, written);

        QCOMPARE(Cp932::decode(bytes), text);
        // A text refused before has no say in this one.
        QVERIFY(!BookingRecord::format("07/30-3", QStringLiteral("1年\U0001F600")));
        const auto record = BookingRecord::format("07/30-3", text);
        QCOMPARE(record.has_value(), written);
        if (written)
            QCOMPARE(*record, "\"07/30-3\",\"" + bytes + "\"\r\n");

        // The bytes lie inside a longer line, as a field does: a trail byte
        // just past their end is not theirs.
        const QByteArray line = bytes + "\xA0";
        const QByteArrayView field = QByteArrayView(line).first(bytes.size());
        int pieces = 0;
        for (qsizetype at = 0; at < field.size(); ++pieces)
            at += Cp932::characterLength(field, at);
        QCOMPARE(pieces, characters);
    }
};

QTEST_GUILESS_MAIN(TestBookingRecord)
#include "tst_bookingrecord.moc"
