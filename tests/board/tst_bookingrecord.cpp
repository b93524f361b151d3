#include "board/BookingRecord.h"

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
        QTest::newRow("empty key") << QByteArray("\"\",\"\"") << QByteArrayList{"", ""};
        QTest::newRow("bare fields, blanks trimmed") << QByteArray(" \t07/30-3 , a b\t ") << QByteArrayList{"07/30-3", "a b"};
        QTest::newRow("blanks around quotes") << QByteArray(" \"07/30-3\"\t, \"a\" ") << QByteArrayList{"07/30-3", "a"};
        QTest::newRow("bare key, quoted text") << QByteArray("07/30-3,\"a\"") << QByteArrayList{"07/30-3", "a"};
        QTest::newRow("one field") << QByteArray("\"07/30-3\"") << none;
        QTest::newRow("three fields") << QByteArray("\"07/30-3\",\"a\",\"b\"") << none;
        QTest::newRow("quote inside the text") << QByteArray("\"07/30-3\",\"a\"b\"") << none;
        QTest::newRow("quote inside the key") << QByteArray("\"07/\"30-3\",\"a\"") << none;
        QTest::newRow("stray quote in a bare field") << QByteArray("07/30\"-3,abc") << none;
        QTest::newRow("key without its comma") << QByteArray("\"07/30-3\" \"a\"") << none;
        QTest::newRow("empty bare key") << QByteArray(" ,\"a\"") << none;
        QTest::newRow("nul padding") << QByteArray(8, '\0') << none;
        // What a crash can leave of the last record: cut anywhere, with or
        // without zeros after it, it is neither a booking nor a clearing.
        const QByteArray whole = "\"07/30-3\",\"\x82\x50\x81\x40\"";
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            QTest::addRow("cut at %lld", qlonglong(cut)) << whole.left(cut) << none;
            QTest::addRow("cut at %lld, zeros", qlonglong(cut)) << whole.left(cut) + QByteArray(3, '\0') << none;
        }
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

    // The exact bytes appended for a booking or a clearing; none when the
    // record would not read back as written.
    void format_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("booking") << "07/30-3" << "１-２　数学"
                                 << QByteArray("\"07/30-3\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\x8A\x77\"\r\n");
        QTest::newRow("clearing") << "08/06-1" << QString() << QByteArray("\"08/06-1\",\"\"\r\n");
        QTest::newRow("quote") << "08/06-1" << "a\"b" << QByteArray();
        QTest::newRow("carriage return") << "08/06-1" << "a\rb" << QByteArray();
        QTest::newRow("line feed") << "08/06-1" << "a\nb" << QByteArray();
        QTest::newRow("no CP932 form") << "08/06-1" << "\U0001F600" << QByteArray();
    }

    void format()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);

        QCOMPARE(BookingRecord::format(key, text).value_or(QByteArray()), bytes);
    }
};

QTEST_GUILESS_MAIN(TestBookingRecord)
#include "tst_bookingrecord.moc"
