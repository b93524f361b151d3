#include "board/BookingRecord.h"
#include "board/BookingReplay.h"
#include "board/DateWindow.h"

#include <QTest>

using Slots = QMap<int, QString>;

namespace {

QByteArray record(const QString &key, const QString &text)
{
    return BookingRecord::format(key, text).value().chopped(2);
}

} // namespace

class TestBookingReplay : public QObject
{
    Q_OBJECT
private slots:
    void replay_data();
    void replay();
    void dayColumnsByEquality_data();
    void dayColumnsByEquality();
    void invalidTextStillBooks();
    void manyDistinctTexts();
    void textsAlikeButForTheMiddle();
    void changedOnlyWhenTheTextChanges();
};

// Window: column 0 = 2018/07/30, column 5 = 2018/08/06.
void TestBookingReplay::replay_data()
{
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<Slots>("expected");
    QTest::addColumn<int>("mode");

    const QString nb = QStringLiteral("１-２　数学");
    const int keep = 7; // the board's mode before the refresh, to see "unchanged"

    QTest::newRow("empty file") << QList<QByteArray>{} << Slots{} << keep;
    QTest::newRow("numbered booking") << QList<QByteArray>{record("07/30-3", nb)} << Slots{{3, nb}} << 1;
    QTest::newRow("booking then clearing")
        << QList<QByteArray>{record("07/30-3", nb), record("07/30-3", {})} << Slots{} << 0;
    QTest::newRow("after lessons is slot 7")
        << QList<QByteArray>{record("07/30-0", QStringLiteral("１Ａ　　理科"))}
        << Slots{{7, QStringLiteral("１Ａ　　理科")}} << 0;
    QTest::newRow("second monday after lessons")
        << QList<QByteArray>{record("08/06-0", QStringLiteral("２-３　英語"))}
        << Slots{{42, QStringLiteral("２-３　英語")}} << 1;
    QTest::newRow("sonota leaves mode")
        << QList<QByteArray>{record("08/06-2", QStringLiteral("その他　委員会"))}
        << Slots{{37, QStringLiteral("その他　委員会")}} << keep;
    QTest::newRow("JK numbered is lettered by its text")
        << QList<QByteArray>{record("07/30-4", QStringLiteral("ＪＫ-　理科"))}
        << Slots{{4, QStringLiteral("ＪＫ-　理科")}} << 0;
    QTest::newRow("lone ideographic space leaves mode")
        << QList<QByteArray>{record("07/30-1", QStringLiteral("　"))} << Slots{{1, QStringLiteral("　")}} << keep;
    QTest::newRow("outside window changes nothing")
        << QList<QByteArray>{record("09/03-1", nb)} << Slots{} << keep;
    QTest::newRow("later record wins")
        << QList<QByteArray>{record("07/31-2", nb), record("07/31-2", QStringLiteral("３Ｃ　　国語"))}
        << Slots{{9, QStringLiteral("３Ｃ　　国語")}} << 0;
    QTest::newRow("last deciding record sets mode")
        << QList<QByteArray>{record("07/31-2", nb), record("08/01-1", QStringLiteral("その他　総合"))}
        << Slots{{9, nb}, {15, QStringLiteral("その他　総合")}} << 1;
    QTest::newRow("saturday skipped") << QList<QByteArray>{record("08/04-1", nb)} << Slots{} << keep;
    QTest::newRow("sunday skipped") << QList<QByteArray>{record("08/05-1", nb)} << Slots{} << keep;
    QTest::newRow("slot digit 7 skipped") << QList<QByteArray>{record("07/30-7", nb)} << Slots{} << keep;
    QTest::newRow("slot digit 9 skipped") << QList<QByteArray>{record("08/10-9", nb)} << Slots{} << keep;
    QTest::newRow("non-digit counts as 0")
        << QList<QByteArray>{record("08/10-x", nb)} << Slots{{70, nb}} << 1;
    QTest::newRow("short key skipped") << QList<QByteArray>{record("07/3", nb)} << Slots{} << keep;
    QTest::newRow("bad lines skipped, rest loads")
        << QList<QByteArray>{QByteArray("\"07/30-1\",\"x"), record("07/30-2", nb), QByteArray("\"a\""),
                             QByteArray("\"07/30-3\",\"a\",\"b\""), record("07/30-5", nb)}
        << Slots{{2, nb}, {5, nb}} << 1;
}

void TestBookingReplay::replay()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(Slots, expected);
    QFETCH(int, mode);

    BookingReplay replay(DateWindow::current(QDate(2018, 8, 1)), 7);
    for (const QByteArray &line : lines)
        replay.addLine(line);
    for (int p = 1; p <= SlotKey::SlotCount; ++p)
        QCOMPARE(replay.slotText(p), expected.value(p));
    QCOMPARE(replay.namingMode(), mode);
}

void TestBookingReplay::dayColumnsByEquality_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("slot");

    // Across New Year every day column still finds its records.
    QTest::newRow("new year, december") << QDate(2018, 12, 28) << record("12/28-1", "x") << 29;
    QTest::newRow("new year, january") << QDate(2018, 12, 28) << record("01/04-0", "x") << 70;
    // 29 February of a leap year, read in a year without one, has no column.
    QTest::newRow("leap day in a common year") << QDate(2019, 2, 27) << record("02/29-1", "x") << 0;
    QTest::newRow("leap day in a leap year") << QDate(2024, 2, 27) << record("02/29-1", "x") << 22;
}

void TestBookingReplay::dayColumnsByEquality()
{
    QFETCH(QDate, today);
    QFETCH(QByteArray, line);
    QFETCH(int, slot);

    BookingReplay replay(DateWindow::current(today), 0);
    replay.addLine(line);
    for (int p = 1; p <= SlotKey::SlotCount; ++p)
        QCOMPARE(replay.slotText(p), p == slot ? QStringLiteral("x") : QString());
}

void TestBookingReplay::invalidTextStillBooks()
{
    BookingReplay replay(DateWindow::current(QDate(2018, 8, 1)), 0);
    replay.addLine(QByteArray("\"07/30-1\",\"\xFF\x82\""));
    QCOMPARE(replay.slotText(1), QString(2, QChar::ReplacementCharacter));
}

// More distinct texts than a replay keeps decoded: slots keep what they show
// when the kept texts are let go.
void TestBookingReplay::manyDistinctTexts()
{
    BookingReplay replay(DateWindow::current(QDate(2018, 8, 1)), 0);
    replay.addLine(record("07/30-2", QStringLiteral("１Ａ　　理科")));
    for (int i = 0; i < 5000; ++i)
        replay.addLine(record("07/30-1", QStringLiteral("その他　%1").arg(i)));
    QCOMPARE(replay.slotText(2), QStringLiteral("１Ａ　　理科"));
    QCOMPARE(replay.slotText(1), QStringLiteral("その他　4999"));
    replay.addLine(record("07/30-3", QStringLiteral("その他　17")));
    QCOMPARE(replay.slotText(3), QStringLiteral("その他　17"));
}

// Long texts are compared in full, not by their ends alone.
void TestBookingReplay::textsAlikeButForTheMiddle()
{
    // 24 bytes each, equal in their first and last eight.
    const QString a = QStringLiteral("３Ｃ　　ＡＢＣＤ数学保体");
    const QString b = QStringLiteral("３Ｃ　　ＡＢＸＤ数学保体");
    const QString longer = QString(40, QChar(u'理'));
    BookingReplay replay(DateWindow::current(QDate(2018, 8, 1)), 0);
    replay.addLine(record("07/30-1", a));
    replay.addLine(record("07/30-2", b));
    replay.addLine(record("07/30-3", longer));
    replay.addLine(record("07/30-4", a));
    QCOMPARE(replay.slotText(1), a);
    QCOMPARE(replay.slotText(2), b);
    QCOMPARE(replay.slotText(3), longer);
    QCOMPARE(replay.slotText(4), a);
}

void TestBookingReplay::changedOnlyWhenTheTextChanges()
{
    const QString nb = QStringLiteral("１-２　数学");
    BookingReplay replay(DateWindow::current(QDate(2018, 8, 1)), 0);
    replay.addLine(record("07/30-1", nb));
    replay.addLine(record("07/30-2", nb));
    QCOMPARE(replay.takeChangedSlots().count(), size_t(2));
    replay.addLine(record("07/30-1", nb));
    replay.setSlotText(2, nb);
    QCOMPARE(replay.takeChangedSlots().count(), size_t(0));
    replay.addLine(record("07/30-1", {}));
    replay.addLine(record("07/30-2", QStringLiteral("２-１　英語")));
    const auto changed = replay.takeChangedSlots();
    QVERIFY(changed.test(1) && changed.test(2) && changed.count() == 2);
    QCOMPARE(replay.slotText(1), QString());
    replay.clearSlots();
    QCOMPARE(replay.takeChangedSlots().count(), size_t(1));
    QCOMPARE(replay.slotText(2), QString());
}

QTEST_GUILESS_MAIN(TestBookingReplay)
#include "tst_bookingreplay.moc"
