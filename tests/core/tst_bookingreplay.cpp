#include "core/BookingRecord.h"
#include "core/BookingReplay.h"
#include "core/DateWindow.h"

#include <QTest>

using Lines = QList<QByteArray>;
using Slots = QMap<int, QString>;

static QByteArray record(const char *key, const QString &text)
{
    return BookingRecord::format(QString::fromLatin1(key), text).value().chopped(2);
}

class TestBookingReplay : public QObject
{
    Q_OBJECT
private slots:
    // The file's lines in order; what the 70 slots show after them, and the
    // naming mode, which starts grayed so that "left as it was" shows.
    void replay_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<Slots>("shown");
        QTest::addColumn<NamingMode>("mode");

        const QDate wed(2018, 8, 1); // columns 07/30…08/03 and 08/06…08/10
        const NamingMode keep = NamingMode::LetteredAfterCancelledClearing, lettered = NamingMode::Lettered,
                         numbered = NamingMode::Numbered;
        const QString nb = "１-２　数学", lt = "１Ａ　　理科", lt2 = "２Ａ　　理科", other = "その他　委員会";
        QTest::newRow("later records win, a clearing empties")
            << wed << Lines{record("07/31-2", nb), record("07/31-2", lt), record("07/30-3", nb), record("07/30-3", "")}
            << Slots{{9, lt}} << lettered;
        QTest::newRow("the key's last character names the lesson, 0 and others the seventh")
            << wed << Lines{record("07/30-0", lt), record("08/06-0", lt), record("08/10-x", lt), record("07/31", nb)}
            << Slots{{7, lt}, {42, lt}, {70, lt}, {8, nb}} << numbered;
        QTest::newRow("その他 and a lone ideographic space leave the mode")
            << wed << Lines{record("08/06-2", other), record("07/30-1", "　")} << Slots{{37, other}, {1, "　"}} << keep;
        QTest::newRow("days the window does not show, keys that name no slot")
            << wed << Lines{record("09/03-1", nb), record("07/29-1", nb), record("08/04-1", nb), record("08/05-1", nb),
                            record("07/30-7", nb), record("08/10-9", nb), record("07/3", nb), record("13/30-1", nb),
                            record("7/30-1", nb), record("07-30-1", nb)}
            << Slots{} << keep;
        QTest::newRow("bare and blank-led keys, a line that is no record")
            << wed << Lines{"  07/30-1,a", "\t\"07/30-2\",\"b\"", "\"07/30-3\",\"x"} << Slots{{1, "a"}, {2, "b"}} << lettered;
        // Texts are kept decoded by their bytes: those alike in all but a few
        // bytes, and those too long to keep, still show as themselves.
        const QString a = "３Ｃ　　ＡＢＣＤ数学保体", b = "３Ｃ　　ＡＢＸＤ数学保体", c = "４Ｃ　　ＡＢＣＤ数学保体",
                      d = "３Ｃ　　ＡＢＣＥ数学保体"; // unlike a in the byte just before the last eight
        const QString longer = "１-２　" + QString(40, u'理'); // numbered, read last
        QTest::newRow("texts alike but for a few bytes, long texts")
            << wed << Lines{record("07/30-1", a), record("07/30-2", b), record("07/30-3", c), record("07/30-4", lt),
                            record("07/30-5", lt2), record("07/30-6", a), record("07/31-3", d), record("07/31-1", longer),
                            record("07/31-2", longer)}
            << Slots{{1, a}, {2, b}, {3, c}, {4, lt}, {5, lt2}, {6, a}, {10, d}, {8, longer}, {9, longer}} << numbered;
        // Far more texts than are kept: what was shown before they are let go
        // stays shown.
        Lines many{record("07/30-1", lt), record("08/10-0", nb)};
        for (int i = 0; i < 40000; ++i)
            many << "\"07/30-2\",\"" + QByteArray::number(i) + '"';
        many << record("07/30-3", "17");
        QTest::newRow("40000 distinct texts") << wed << many << Slots{{1, lt}, {2, "39999"}, {3, "17"}, {70, nb}} << lettered;
        QTest::newRow("29 february of a common year") << QDate(2019, 2, 27) << Lines{record("02/29-1", nb)}
                                                      << Slots{} << keep;
    }

    void replay()
    {
        QFETCH(QDate, today);
        QFETCH(Lines, lines);
        QFETCH(Slots, shown);
        QFETCH(NamingMode, mode);

        BookingReplay replay(DateWindow::current(today), NamingMode::LetteredAfterCancelledClearing);
        for (const QByteArray &line : lines)
            replay.addLine(line);
        Slots actual;
        for (int p = 1; p <= SlotKey::SlotCount; ++p) {
            if (!replay.slotText(p).isEmpty())
                actual.insert(p, replay.slotText(p));
        }
        QCOMPARE(actual, shown);
        QCOMPARE(replay.namingMode(), mode);
    }

    // The key the board writes for a slot of this week's window or the next
    // reads back onto that slot; the first and last slot of each week's keys.
    // Days are matched by their date, not by a range of dates.
    void writtenKeyReadsBack_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("nextWeek");
        QTest::addColumn<QStringList>("keys");

        QTest::newRow("sunday shows tomorrow's week")
            << QDate(2018, 7, 29) << false << QStringList{"07/30-1", "08/03-0", "08/06-1", "08/10-0"};
        QTest::newRow("next week is a week on")
            << QDate(2018, 8, 1) << true << QStringList{"08/06-1", "08/10-0", "08/13-1", "08/17-0"};
        QTest::newRow("new year in week two")
            << QDate(2018, 12, 28) << false << QStringList{"12/24-1", "12/28-0", "12/31-1", "01/04-0"};
        QTest::newRow("29 february, a month end")
            << QDate(2024, 2, 28) << false << QStringList{"02/26-1", "03/01-0", "03/04-1", "03/08-0"};
    }

    void writtenKeyReadsBack()
    {
        QFETCH(QDate, today);
        QFETCH(bool, nextWeek);
        QFETCH(QStringList, keys);

        const DateWindow window = nextWeek ? DateWindow::next(today) : DateWindow::current(today);
        const BookingReplay replay(window);
        QStringList firstAndLast;
        for (int slot = 1; slot <= SlotKey::SlotCount; ++slot) {
            const QString key = SlotKey::make(window, slot);
            QCOMPARE(replay.slotForKey(key.toLatin1()), slot);
            QCOMPARE(SlotKey::slotIndex(SlotKey::column(slot), SlotKey::position(slot)), slot);
            if (slot % 35 <= 1)
                firstAndLast << key;
        }
        QCOMPARE(firstAndLast, keys);
    }
};

QTEST_GUILESS_MAIN(TestBookingReplay)
#include "tst_bookingreplay.moc"
