#include "board/DateWindow.h"
#include "board/SlotKey.h"

#include <QTest>

class TestDateWindow : public QObject
{
    Q_OBJECT
private slots:
    void start_data();
    void start();
    void nextWeekIsRelativeToToday_data();
    void nextWeekIsRelativeToToday();
    void turns_data();
    void turns();
    void slotKey_data();
    void slotKey();
};

void TestDateWindow::start_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("fifth");
    QTest::addColumn<QString>("eighth");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("month");

    const QString mon = "2018/07/30", fri = "2018/08/03", mon2 = "2018/08/06", fri2 = "2018/08/10";
    QTest::newRow("monday") << QDate(2018, 7, 30) << mon << fri << mon2 << fri2 << 7;
    QTest::newRow("tuesday") << QDate(2018, 7, 31) << mon << fri << mon2 << fri2 << 7;
    QTest::newRow("wednesday") << QDate(2018, 8, 1) << mon << fri << mon2 << fri2 << 7;
    QTest::newRow("thursday") << QDate(2018, 8, 2) << mon << fri << mon2 << fri2 << 7;
    QTest::newRow("friday") << QDate(2018, 8, 3) << mon << fri << mon2 << fri2 << 7;
    QTest::newRow("saturday keeps this week") << QDate(2018, 8, 4) << mon << fri << mon2 << fri2 << 7;
    QTest::newRow("sunday moves to tomorrow") << QDate(2018, 7, 29) << mon << fri << mon2 << fri2 << 7;
    QTest::newRow("two-digit month") << QDate(2018, 10, 3) << "2018/10/01" << "2018/10/05"
                                     << "2018/10/08" << "2018/10/12" << 10;
}

void TestDateWindow::start()
{
    QFETCH(QDate, today);
    QFETCH(QString, first);
    QFETCH(QString, fifth);
    QFETCH(QString, eighth);
    QFETCH(QString, last);
    QFETCH(int, month);

    const DateWindow window = DateWindow::current(today);
    QCOMPARE(window.dateText(1), first);
    QCOMPARE(window.dateText(5), fifth);
    QCOMPARE(window.dateText(8), eighth);
    QCOMPARE(window.dateText(12), last);
    QCOMPARE(window.date(1).dayOfWeek(), int(Qt::Monday));
    QCOMPARE(window.columnDate(4).dayOfWeek(), int(Qt::Friday));
    QCOMPARE(window.columnDate(5).dayOfWeek(), int(Qt::Monday));
    QCOMPARE(window.columnDate(5), window.date(8));
    QCOMPARE(window.month(), month);
}

void TestDateWindow::nextWeekIsRelativeToToday_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("month");

    QTest::newRow("wednesday") << QDate(2018, 8, 1) << "2018/08/06" << "2018/08/17" << 8;
    QTest::newRow("month follows its monday") << QDate(2018, 8, 29) << "2018/09/03" << "2018/09/14" << 9;
    QTest::newRow("sunday") << QDate(2018, 7, 29) << "2018/08/06" << "2018/08/17" << 8;
}

void TestDateWindow::nextWeekIsRelativeToToday()
{
    QFETCH(QDate, today);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(int, month);

    const DateWindow next = DateWindow::next(today);
    QCOMPARE(next.dateText(1), first);
    QCOMPARE(next.dateText(12), last);
    QCOMPARE(next.month(), month);
}

void TestDateWindow::turns_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QStringList>("columns");

    QTest::newRow("month end") << QDate(2018, 8, 30)
                               << QStringList{"08/27", "08/28", "08/29", "08/30", "08/31",
                                              "09/03", "09/04", "09/05", "09/06", "09/07"};
    QTest::newRow("new year") << QDate(2018, 12, 28)
                              << QStringList{"12/24", "12/25", "12/26", "12/27", "12/28",
                                             "12/31", "01/01", "01/02", "01/03", "01/04"};
    QTest::newRow("leap february") << QDate(2024, 2, 28)
                                   << QStringList{"02/26", "02/27", "02/28", "02/29", "03/01",
                                                  "03/04", "03/05", "03/06", "03/07", "03/08"};
}

void TestDateWindow::turns()
{
    QFETCH(QDate, today);
    QFETCH(QStringList, columns);

    const DateWindow window = DateWindow::current(today);
    QStringList shown;
    for (int j = 0; j < DateWindow::ColumnCount; ++j)
        shown << window.monthDay(DateWindow::dateIndexOfColumn(j));
    QCOMPARE(shown, columns);
}

void TestDateWindow::slotKey_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("key");

    const QDate wed(2018, 8, 1);
    QTest::newRow("first slot") << wed << 1 << "07/30-1";
    QTest::newRow("after lessons, first monday") << wed << 7 << "07/30-0";
    QTest::newRow("tuesday position 3") << wed << 10 << "07/31-3";
    QTest::newRow("last slot of week one") << wed << 35 << "08/03-0";
    QTest::newRow("first slot of week two") << wed << 36 << "08/06-1";
    QTest::newRow("second monday after lessons") << wed << 42 << "08/06-0";
    QTest::newRow("last slot") << wed << 70 << "08/10-0";
    QTest::newRow("over new year") << QDate(2018, 12, 28) << 43 << "01/01-1";
}

void TestDateWindow::slotKey()
{
    QFETCH(QDate, today);
    QFETCH(int, slot);
    QFETCH(QString, key);
    QCOMPARE(SlotKey::make(DateWindow::current(today), slot), key);
}

QTEST_GUILESS_MAIN(TestDateWindow)
#include "tst_datewindow.moc"
