#include "board/DateWindow.h"
#include "board/SlotKey.h"

#include <QTest>

// Which day and lesson a slot stands for: the key of its records in the file,
// the date that heads its column, and the month the header shows, in the
// window of today's school week or of the next.
class TestDateWindow : public QObject
{
    Q_OBJECT
private slots:
    void slotKey_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("nextWeek");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("month");

        const QDate wed(2018, 8, 1), sun(2018, 7, 29);
        QTest::newRow("monday starts its own week") << QDate(2018, 7, 30) << false << 1 << "07/30-1" << 7;
        QTest::newRow("wednesday shows its monday") << wed << false << 1 << "07/30-1" << 7;
        QTest::newRow("saturday keeps this week") << QDate(2018, 8, 4) << false << 1 << "07/30-1" << 7;
        QTest::newRow("sunday shows tomorrow's week") << sun << false << 1 << "07/30-1" << 7;
        QTest::newRow("seventh lesson is stored as 0") << wed << false << 7 << "07/30-0" << 7;
        QTest::newRow("tuesday's third lesson") << wed << false << 10 << "07/31-3" << 7;
        QTest::newRow("week one ends on friday") << wed << false << 35 << "08/03-0" << 7;
        QTest::newRow("week two starts after the weekend") << wed << false << 36 << "08/06-1" << 7;
        QTest::newRow("last slot") << wed << false << 70 << "08/10-0" << 7;
        QTest::newRow("next week is a week on") << wed << true << 1 << "08/06-1" << 8;
        QTest::newRow("next week's last slot") << wed << true << 70 << "08/17-0" << 8;
        QTest::newRow("next week from a sunday") << sun << true << 1 << "08/06-1" << 8;
        QTest::newRow("next week shows its monday's month") << QDate(2018, 8, 29) << true << 1 << "09/03-1" << 9;
        QTest::newRow("two-digit month") << QDate(2018, 10, 3) << false << 1 << "10/01-1" << 10;
        QTest::newRow("month end in week two") << QDate(2018, 8, 30) << false << 36 << "09/03-1" << 8;
        QTest::newRow("new year in week two") << QDate(2018, 12, 28) << false << 43 << "01/01-1" << 12;
        QTest::newRow("29 february") << QDate(2024, 2, 28) << false << 22 << "02/29-1" << 2;
    }

    void slotKey()
    {
        QFETCH(QDate, today);
        QFETCH(bool, nextWeek);
        QFETCH(int, slot);
        QFETCH(QString, key);
        QFETCH(int, month);

        const DateWindow window = nextWeek ? DateWindow::next(today) : DateWindow::current(today);
        QCOMPARE(SlotKey::make(window, slot), key);
        QCOMPARE(window.month(), month);
        QCOMPARE(window.columnDate(SlotKey::column(slot)).toString(u"MM/dd"), key.left(5));
        // The key's digit leads back to the slot's lesson.
        QCOMPARE(SlotKey::position(slot), SlotKey::positionOfSlotNumber(key.back().digitValue()));
        QCOMPARE(SlotKey::slotIndex(SlotKey::column(slot), SlotKey::position(slot)), slot);
    }
};

QTEST_GUILESS_MAIN(TestDateWindow)
#include "tst_datewindow.moc"
