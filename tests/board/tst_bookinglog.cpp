#include "board/BookingLog.h"
#include "board/BookingReplay.h"
#include "board/DateWindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Room = QStringLiteral("理科室");
const QDate Today(2018, 8, 1); // window 2018/07/30 … 2018/08/10

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestBookingLog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void pathIsBesideTheProgram();
    void missingFileIsCreatedEmpty();
    void lineEnds_data();
    void lineEnds();
    void overlongLineIsPassedOver();
    void appendWritesExactBytes();
    void appendAfterTornTail_data();
    void appendAfterTornTail();
    void unusableFile_data();
    void unusableFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestBookingLog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestBookingLog::pathIsBesideTheProgram()
{
    QCOMPARE(BookingLog("/srv/booking", Room).path(), QStringLiteral("/srv/booking/理科室.dat"));
}

void TestBookingLog::missingFileIsCreatedEmpty()
{
    BookingLog log(m_dir->path(), Room);
    BookingReplay replay(DateWindow::current(Today), 1);
    QString error;
    QVERIFY2(log.replay(replay, &error), qPrintable(error));
    QVERIFY(QFileInfo(log.path()).isFile());
    QCOMPARE(QFileInfo(log.path()).size(), 0);
    QCOMPARE(replay.namingMode(), 1);
}

void TestBookingLog::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("texts"); // slots 1, 2, 3

    QTest::newRow("crlf") << QByteArray("\"07/30-1\",\"a\"\r\n\"07/30-2\",\"b\"\r\n") << QStringList{"a", "b", ""};
    QTest::newRow("bare lf") << QByteArray("\"07/30-1\",\"a\"\n\"07/30-2\",\"b\"\n") << QStringList{"a", "b", ""};
    QTest::newRow("last line without line end")
        << QByteArray("\"07/30-1\",\"a\"\r\n\"07/30-2\",\"b\"") << QStringList{"a", "b", ""};
    QTest::newRow("cut last line skipped")
        << QByteArray("\"07/30-1\",\"a\"\r\n\"07/30-2\",\"b") << QStringList{"a", "", ""};
    QTest::newRow("nul tail skipped")
        << QByteArray("\"07/30-1\",\"a\"\r\n\0\0\0\0", 18) << QStringList{"a", "", ""};
    QTest::newRow("blank lines between") << QByteArray("\r\n\"07/30-1\",\"a\"\r\n\r\n\"07/30-3\",\"c\"\r\n")
                                         << QStringList{"a", "", "c"};
}

void TestBookingLog::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, texts);

    BookingLog log(m_dir->path(), Room);
    writeAll(log.path(), bytes);
    BookingReplay replay(DateWindow::current(Today), 0);
    QVERIFY(log.replay(replay, nullptr));
    QCOMPARE((QStringList{replay.slotText(1), replay.slotText(2), replay.slotText(3)}), texts);
}

void TestBookingLog::overlongLineIsPassedOver()
{
    BookingLog log(m_dir->path(), Room);
    QByteArray bytes = "\"07/30-1\",\"a\"\r\n\"07/30-2\",\"";
    bytes += QByteArray(3 * 1024 * 1024, 'x');
    bytes += "\"\r\n\"07/30-3\",\"c\"\r\n";
    writeAll(log.path(), bytes);

    BookingReplay replay(DateWindow::current(Today), 0);
    QVERIFY(log.replay(replay, nullptr));
    QCOMPARE(replay.slotText(1), QStringLiteral("a"));
    QCOMPARE(replay.slotText(2), QString());
    QCOMPARE(replay.slotText(3), QStringLiteral("c"));
}

void TestBookingLog::appendWritesExactBytes()
{
    BookingLog log(m_dir->path(), Room);
    QString error;
    QVERIFY2(log.append("07/30-0", QStringLiteral("１Ａ　　理科"), &error), qPrintable(error));
    QVERIFY2(log.append("07/30-0", QString(), &error), qPrintable(error));
    QCOMPARE(readAll(log.path()),
             QByteArray("\"07/30-0\",\"\x82\x50\x82\x60\x81\x40\x81\x40\x97\x9D\x89\xC8\"\r\n"
                        "\"07/30-0\",\"\"\r\n"));
}

void TestBookingLog::appendAfterTornTail_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    const QByteArray rec = "\"07/30-2\",\"b\"\r\n";
    QTest::newRow("empty file") << QByteArray() << rec;
    QTest::newRow("whole line") << QByteArray("\"07/30-1\",\"a\"\r\n") << QByteArray("\"07/30-1\",\"a\"\r\n") + rec;
    QTest::newRow("lf only") << QByteArray("\"07/30-1\",\"a\"\n") << QByteArray("\"07/30-1\",\"a\"\n") + rec;
    QTest::newRow("cut line") << QByteArray("\"07/30-1\",\"a") << QByteArray("\"07/30-1\",\"a\r\n") + rec;
    QTest::newRow("cut before lf") << QByteArray("\"07/30-1\",\"a\"\r") << QByteArray("\"07/30-1\",\"a\"\r\r\n") + rec;
}

void TestBookingLog::appendAfterTornTail()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);

    BookingLog log(m_dir->path(), Room);
    writeAll(log.path(), before);
    QVERIFY(log.append("07/30-2", "b", nullptr));
    QCOMPARE(readAll(log.path()), after);

    BookingReplay replay(DateWindow::current(Today), 0);
    QVERIFY(log.replay(replay, nullptr));
    QCOMPARE(replay.slotText(2), QStringLiteral("b"));
}

void TestBookingLog::unusableFile_data()
{
    QTest::addColumn<QString>("setup");
    QTest::newRow("directory at the file's path") << "directory";
    QTest::newRow("folder missing") << "nofolder";
}

void TestBookingLog::unusableFile()
{
    QFETCH(QString, setup);

    QString folder = m_dir->path();
    if (setup == "directory")
        QVERIFY(QDir(folder).mkdir(Room + ".dat"));
    else
        folder += "/gone";
    BookingLog log(folder, Room);

    BookingReplay replay(DateWindow::current(Today), 0);
    QString readError;
    QVERIFY(!log.replay(replay, &readError));
    QVERIFY2(readError.contains(QDir::toNativeSeparators(log.path())), qPrintable(readError));

    QString writeError;
    QVERIFY(!log.append("07/30-1", "a", &writeError));
    QVERIFY2(writeError.contains(QStringLiteral("理科室.dat")), qPrintable(writeError));
    QCOMPARE(QFileInfo(folder).exists(), setup == "directory");
}

QTEST_GUILESS_MAIN(TestBookingLog)
#include "tst_bookinglog.moc"
