#include "core/BookingLog.h"
#include "core/BookingRecord.h"
#include "core/BookingReplay.h"
#include "core/DateWindow.h"
#include "core/RoomLocation.h"
#include "core/SlotHistory.h"
#include "../support/TestFiles.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

static QByteArray rec(const QString &key, const QString &text) { return BookingRecord::format(key, text).value(); }

class TestSlotHistory : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const RoomLocation m_room{m_dir.path(), QStringLiteral("理科室")};
    QString path() const { return m_dir.filePath(QStringLiteral("理科室.dat")); }

private slots:
    void cleanup() { QFile::remove(path()); }

    // Each entry as "line text", " ?" after an entry of possibly another year.
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("entries");

        QTest::newRow("no file") << QByteArray() << "07/30-3" << QStringList{};
        QTest::newRow("booked, cleared under a key of its own, booked again") << rec("07/30-3", "１-２　数学") + rec("07/30-4", "x") + rec("07/30_3", "") + rec("07/30-3", "２Ａ　　理科") << "07/30-3" << QStringList{"1 １-２　数学", "3 ", "4 ２Ａ　　理科"};
        QTest::newRow("lines counted as an editor counts them") << "junk\r\n\r\n" + QByteArray(5000, 'x') + "\r\n07/30-3 , abc\n" + rec("07/30-7", "no") + rec("07/30-3", "last").chopped(2) << "07/30-3" << QStringList{"4 abc", "6 last"};
        QTest::newRow("a key ending in no digit is after lessons") << rec("07/30-x", "a") + rec("07/30-0", "b") + rec("07/31-0", "c") << "07/30-0" << QStringList{"1 a", "2 b"};
        QTest::newRow("turn of the year") << rec("07/30-3", "old") + rec("12/20-1", "b") + rec("01/10-1", "c") + rec("07/30-3", "new") << "07/30-3" << QStringList{"1 old ?", "4 new"};
        QTest::newRow("window across New Year") << rec("12/29-2", "x") + rec("01/04-1", "y") + rec("12/30-1", "z") << "12/29-2" << QStringList{"1 x"};
        QTest::newRow("a date passed since is of an earlier year") << rec("03/20-1", "a") + rec("09/01-1", "b") << "03/20-1" << QStringList{"1 a ?"};
        QTest::newRow("twelve days before the latest: the same year") << rec("07/30-1", "a") + rec("08/11-1", "b") << "07/30-1" << QStringList{"1 a"};
        QTest::newRow("thirteen days before: an earlier year") << rec("07/30-1", "a") + rec("08/12-1", "b") << "07/30-1" << QStringList{"1 a ?"};
        QTest::newRow("29 February") << rec("02/28-1", "a") + rec("02/29-1", "b") + rec("03/01-1", "c") << "02/29-1" << QStringList{"2 b"};
        QTest::newRow("UTF-8 with its mark") << QByteArray("\xEF\xBB\xBF\"07/30-3\",\"\xE6\x95\xB0\"\r\n") << "07/30-3" << QStringList{"1 数"};
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("UTF-16") << QByteArray(utf16.encode(u"\"07/30-3\",\"a\"\r\n\"07/30-3\",\"\"\r\n")) << "07/30-3" << QStringList{"1 a", "2 "};
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, key);
        QFETCH(QStringList, entries);

        if (!bytes.isNull())
            QVERIFY(writeAll(path(), bytes));
        QString error;
        const auto history = SlotHistory::read(m_room, key, &error);
        QVERIFY2(history, qPrintable(error));
        QStringList shown;
        for (const SlotHistory::Entry &entry : *history)
            shown << QString::number(entry.line) + ' ' + entry.text + (entry.possiblyAnotherYear ? " ?" : "");
        QCOMPARE(shown, entries);
        QCOMPARE(QFile::exists(path()), !bytes.isNull()); // asking writes nothing
    }

    // What the board will not read, the history will not either, in the board's words.
    void refused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("program") << "program";
        QTest::newRow("too large") << "huge";
#ifdef Q_OS_UNIX
        QTest::newRow("fifo") << "fifo";
#endif
    }

    void refused()
    {
        QFETCH(QString, kind);
        if (kind == "program")
            QVERIFY(writeAll(path(), QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0", 10)));
        else if (kind == "huge")
            QVERIFY(QFile(path()).open(QIODevice::WriteOnly) && QFile::resize(path(), BookingLog::MaxFileSize + 1));
#ifdef Q_OS_UNIX
        else
            QCOMPARE(::mkfifo(QFile::encodeName(path()).constData(), 0666), 0);
#endif
        QString history, board;
        QVERIFY(!SlotHistory::read(m_room, "07/30-3", &history));
        BookingReplay replay(DateWindow::current(QDate(2018, 8, 1)), NamingMode::Lettered);
        QVERIFY(!BookingLog(m_room).replay(replay, &board));
        QCOMPARE(history, board);
    }
};

QTEST_GUILESS_MAIN(TestSlotHistory)
#include "tst_slothistory.moc"
