#include "board/Cp932.h"

#include <QTest>

class TestCp932 : public QObject
{
    Q_OBJECT
private slots:
    // Bytes of the file, the text they show, how many characters the Windows
    // build takes them as when it decodes one at a time, and whether the text
    // is stored back as the same bytes (else it is refused for writing).
    void convert_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("characters");
        QTest::addColumn<bool>("stored");

        const QString bad(QChar::ReplacementCharacter);
        QTest::newRow("booking text") << QByteArray("\x82\x50\x2D\x82\x51\x81\x40\x90\x94\x8A\x77")
                                      << "１-２　数学" << 6 << true;
        // Where CP932 differs from plain Shift_JIS.
        QTest::newRow("wave dash is the full-width tilde") << QByteArray("\x81\x60") << "～" << 1 << true;
        QTest::newRow("NEC row 13") << QByteArray("\x87\x40") << "①" << 1 << true;
        QTest::newRow("IBM extension") << QByteArray("\xFB\xFC") << "髙" << 1 << true;
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
        QTest::newRow("lead byte as trail byte") << QByteArray("\x81\x81\x81") << "＝" + bad << 2 << false;
        // A damaged record still shows as booked.
        QTest::newRow("invalid byte") << QByteArray("\xFF") << bad << 1 << false;
        QTest::newRow("unassigned pair") << QByteArray("\x85\x40") << bad << 1 << false;
        QTest::newRow("lead byte cut at the end") << QByteArray("\x97\x9D\x89") << "理" + bad << 2 << false;
    }

    void convert()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, characters);
        QFETCH(bool, stored);

        QCOMPARE(Cp932::decode(bytes), text);
        // A text refused before has no say in this one.
        QVERIFY(!Cp932::encode(u"1年\U0001F600"));
        const auto encoded = Cp932::encode(text);
        QCOMPARE(encoded.has_value(), stored);
        if (stored)
            QCOMPARE(*encoded, bytes);

        // The characters the Windows build decodes one at a time when the
        // whole fails. The bytes lie inside a longer line, as a field does: a
        // trail byte just past their end is not theirs.
        const QByteArray line = bytes + "\xA0";
        const QByteArrayView field = QByteArrayView(line).first(bytes.size());
        int pieces = 0;
        for (qsizetype at = 0; at < field.size(); ++pieces)
            at += Cp932::characterLength(field, at);
        QCOMPARE(pieces, characters);
    }
};

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
