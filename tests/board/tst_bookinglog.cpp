#include "board/BookingLog.h"
#include "board/BookingRecord.h"
#include "board/BookingReplay.h"
#include "board/DateWindow.h"
#include "board/FileLock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

using Outcome = BookingLog::Outcome;
Q_DECLARE_METATYPE(BookingLog::Outcome)

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

QByteArray record(const char *key, const QString &text)
{
    return BookingRecord::format(QString::fromLatin1(key), text).value();
}

// A board's view of the file: the log and its replay of this week.
struct Board
{
    explicit Board(const QString &folder)
        : log(folder, Room)
        , replay(DateWindow::current(Today), 0)
    {
    }
    bool load() { return log.replay(replay, nullptr); }
    Outcome book(const char *key, const QString &text, const QString &expected = {})
    {
        return log.write(replay, QString::fromLatin1(key), expected, text, nullptr);
    }
    QString slot(const char *key) const { return replay.slotText(replay.slotForKey(key)); }

    BookingLog log;
    BookingReplay replay;
};

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
    void writeAppendsExactBytes();
    void tornTail_data();
    void tornTail();
    void secondBoardSeesFirst();
    void catchUpReadsOnlyTheTail();
    void replacedFileIsReadAgain();
    void lockHeldElsewhereIsBusy();
    void reSavedAsUtf8IsReadOnly();
    void unusableFile_data();
    void unusableFile();
#ifdef Q_OS_LINUX
    void deviceFull();
#endif
#ifdef Q_OS_UNIX
    void fileSizeLimit();
    void readOnlyFolder();
#endif
#ifdef Q_OS_WIN
    void heldByAnotherProgram_data();
    void heldByAnotherProgram();
#endif

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
    Board board(m_dir->path());
    board.replay.setNamingMode(1);
    QString error;
    QVERIFY2(board.log.replay(board.replay, &error), qPrintable(error));
    QVERIFY(QFileInfo(board.log.path()).isFile());
    QCOMPARE(QFileInfo(board.log.path()).size(), 0);
    QCOMPARE(board.replay.namingMode(), 1);
}

void TestBookingLog::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("texts"); // slots 1, 2, 3

    QTest::newRow("crlf") << QByteArray("\"07/30-1\",\"a\"\r\n\"07/30-2\",\"b\"\r\n") << QStringList{"a", "b", ""};
    QTest::newRow("bare lf") << QByteArray("\"07/30-1\",\"a\"\n\"07/30-2\",\"b\"\n") << QStringList{"a", "b", ""};
    QTest::newRow("last line without line end")
        << QByteArray("\"07/30-1\",\"a\"\r\n\"07/30-2\",\"b\"") << QStringList{"a", "b", ""};
    QTest::newRow("blank lines between") << QByteArray("\r\n\"07/30-1\",\"a\"\r\n\r\n\"07/30-3\",\"c\"\r\n")
                                         << QStringList{"a", "", "c"};
    QTest::newRow("nul bytes inside a line")
        << QByteArray("\"07/30-1\",\"a\"\r\n\"07/30-2\",\"\0\"\r\n\"07/30-3\",\"c\"\r\n", 46)
        << QStringList{"a", QString(QChar(0)), "c"};
    QTest::newRow("unbalanced quotes")
        << QByteArray("\"07/30-1\",\"a\"\r\n\"07/30-2\",\"b\r\n\"07/30-3\",\"c\"\r\n") << QStringList{"a", "", "c"};
    QTest::newRow("empty file") << QByteArray() << QStringList{"", "", ""};
}

void TestBookingLog::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, texts);

    Board board(m_dir->path());
    writeAll(board.log.path(), bytes);
    QVERIFY(board.load());
    QCOMPARE((QStringList{board.slot("07/30-1"), board.slot("07/30-2"), board.slot("07/30-3")}), texts);
}

void TestBookingLog::overlongLineIsPassedOver()
{
    Board board(m_dir->path());
    QByteArray bytes = "\"07/30-1\",\"a\"\r\n\"07/30-2\",\"";
    bytes += QByteArray(10 * 1024 * 1024, 'x');
    bytes += "\"\r\n\"07/30-3\",\"c\"\r\n";
    writeAll(board.log.path(), bytes);

    QVERIFY(board.load());
    QCOMPARE(board.slot("07/30-1"), QStringLiteral("a"));
    QCOMPARE(board.slot("07/30-2"), QString());
    QCOMPARE(board.slot("07/30-3"), QStringLiteral("c"));
}

void TestBookingLog::writeAppendsExactBytes()
{
    Board board(m_dir->path());
    QVERIFY(board.load());
    QCOMPARE(board.book("07/30-0", QStringLiteral("１Ａ　　理科")), Outcome::Written);
    QCOMPARE(board.slot("07/30-0"), QStringLiteral("１Ａ　　理科"));
    QCOMPARE(board.book("07/30-0", QString(), QStringLiteral("１Ａ　　理科")), Outcome::Written);
    QCOMPARE(readAll(board.log.path()),
             QByteArray("\"07/30-0\",\"\x82\x50\x82\x60\x81\x40\x81\x40\x97\x9D\x89\xC8\"\r\n"
                        "\"07/30-0\",\"\"\r\n"));
}

// The last record cut at every byte, with and without the zeros a crash can
// leave behind it: the records before it still show, and the next record
// stands on a line of its own.
void TestBookingLog::tornTail_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("lastCounts");

    const QByteArray earlier = record("07/30-1", "a") + record("07/30-2", "b");
    const QByteArray last = record("07/30-3", QStringLiteral("１-２　数学"));
    for (int cut = 0; cut <= last.size(); ++cut) {
        for (int zeros : {0, 5}) {
            // Whole but for its line end, a record still counts.
            const bool counts = cut >= last.size() - 2 && (zeros == 0 || cut == last.size());
            QTest::addRow("cut at %d, %d zeros", cut, zeros)
                << earlier + last.left(cut) + QByteArray(zeros, '\0') << counts;
        }
    }
}

void TestBookingLog::tornTail()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, lastCounts);

    Board board(m_dir->path());
    writeAll(board.log.path(), before);
    QVERIFY(board.load());
    QCOMPARE(board.slot("07/30-1"), QStringLiteral("a"));
    QCOMPARE(board.slot("07/30-2"), QStringLiteral("b"));
    QCOMPARE(board.slot("07/30-3"), lastCounts ? QStringLiteral("１-２　数学") : QString());

    QCOMPARE(board.book("07/30-4", QStringLiteral("c")), Outcome::Written);
    const QByteArray separator = before.isEmpty() || before.endsWith('\n') ? QByteArray() : "\r\n";
    QCOMPARE(readAll(board.log.path()), before + separator + record("07/30-4", "c"));

    Board reread(m_dir->path());
    QVERIFY(reread.load());
    QCOMPARE(reread.slot("07/30-2"), QStringLiteral("b"));
    QCOMPARE(reread.slot("07/30-4"), QStringLiteral("c"));
}

void TestBookingLog::secondBoardSeesFirst()
{
    Board first(m_dir->path());
    Board second(m_dir->path());
    QVERIFY(first.load());
    QVERIFY(second.load());

    QCOMPARE(first.book("07/31-2", QStringLiteral("x")), Outcome::Written);
    // The second board still thinks the slot free: it must not book over it.
    QCOMPARE(second.book("07/31-2", QStringLiteral("y")), Outcome::SlotChanged);
    QCOMPARE(second.slot("07/31-2"), QStringLiteral("x"));
    // Nor clear a booking it never saw.
    QCOMPARE(first.book("07/31-2", QString(), QStringLiteral("x")), Outcome::Written);
    QCOMPARE(first.book("07/31-2", QStringLiteral("z")), Outcome::Written);
    QCOMPARE(second.book("07/31-2", QString(), QStringLiteral("x")), Outcome::SlotChanged);
    QCOMPARE(second.slot("07/31-2"), QStringLiteral("z"));
    QCOMPARE(readAll(first.log.path()),
             record("07/31-2", "x") + record("07/31-2", {}) + record("07/31-2", "z"));
}

void TestBookingLog::catchUpReadsOnlyTheTail()
{
    Board board(m_dir->path());
    writeAll(board.log.path(), record("07/30-1", "a"));
    QVERIFY(board.load());

    // Changing bytes already read, same length, goes unseen by a catch-up;
    // what was appended is taken in.
    QByteArray bytes = readAll(board.log.path());
    bytes.replace("\"a\"", "\"q\"");
    writeAll(board.log.path(), bytes + record("07/30-2", "b"));
    QVERIFY(board.log.catchUp(board.replay, nullptr));
    QCOMPARE(board.slot("07/30-1"), QStringLiteral("a"));
    QCOMPARE(board.slot("07/30-2"), QStringLiteral("b"));
    const auto changed = board.replay.takeChangedSlots();
    QCOMPARE(changed.count(), size_t(2)); // slot 1 at load, slot 2 now
}

void TestBookingLog::replacedFileIsReadAgain()
{
    Board board(m_dir->path());
    writeAll(board.log.path(), record("07/30-1", "a") + record("07/30-2", "b"));
    QVERIFY(board.load());
    writeAll(board.log.path(), record("07/30-3", "c"));
    QVERIFY(board.log.catchUp(board.replay, nullptr));
    QCOMPARE(board.slot("07/30-1"), QString());
    QCOMPARE(board.slot("07/30-3"), QStringLiteral("c"));
}

void TestBookingLog::lockHeldElsewhereIsBusy()
{
    Board board(m_dir->path());
    QVERIFY(board.load());
    QFile other(board.log.path());
    QVERIFY(other.open(QIODevice::ReadWrite));
    const FileLock held(other, std::chrono::milliseconds(0));
    QVERIFY(held.isLocked());

    QCOMPARE(board.book("07/30-1", "a"), Outcome::Busy);
    QCOMPARE(readAll(board.log.path()), QByteArray());
    // Readers take no lock and are never held up.
    QVERIFY(board.log.catchUp(board.replay, nullptr));
}

void TestBookingLog::reSavedAsUtf8IsReadOnly()
{
    Board board(m_dir->path());
    const QByteArray bytes = "\xEF\xBB\xBF\"07/30-1\",\"" + QStringLiteral("１-２　数学").toUtf8() + "\"\r\n";
    writeAll(board.log.path(), bytes);
    QVERIFY(board.load());
    QVERIFY(board.log.isReadOnly());
    QCOMPARE(board.slot("07/30-1"), QStringLiteral("１-２　数学"));
    QCOMPARE(board.book("07/30-2", "b"), Outcome::ReadOnly);
    QCOMPARE(readAll(board.log.path()), bytes);
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
    QCOMPARE(log.write(replay, "07/30-1", {}, "a", &writeError), Outcome::Failed);
    QVERIFY2(writeError.contains(QStringLiteral("理科室.dat")), qPrintable(writeError));
    QCOMPARE(QFileInfo(folder).exists(), setup == "directory");
}

#ifdef Q_OS_LINUX
void TestBookingLog::deviceFull()
{
    Board board(m_dir->path());
    QVERIFY(QFile::link("/dev/full", board.log.path()));
    QVERIFY(board.load());
    QString error;
    QCOMPARE(board.log.write(board.replay, "07/30-1", {}, "a", &error), Outcome::Failed);
    QVERIFY2(error.contains(QStringLiteral("ディスクに空きがありません")), qPrintable(error));
    QCOMPARE(board.slot("07/30-1"), QString());
}
#endif

#ifdef Q_OS_UNIX
void TestBookingLog::fileSizeLimit()
{
    Board board(m_dir->path());
    const QByteArray before = record("07/30-1", "a");
    writeAll(board.log.path(), before);
    QVERIFY(board.load());

    // Room for a few bytes more, not for a record: the write is cut short.
    struct rlimit saved = {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit tight = saved;
    tight.rlim_cur = before.size() + 5;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    QString error;
    const Outcome outcome = board.log.write(board.replay, "07/30-2", {}, "b", &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(outcome, Outcome::Failed);
    QVERIFY2(error.contains(QStringLiteral("大きすぎます")), qPrintable(error));
    QCOMPARE(readAll(board.log.path()), before);
    QCOMPARE(board.slot("07/30-2"), QString());
}

// Root passes every permission check, so as root the write is tried from a
// child process that has given up its rights.
void TestBookingLog::readOnlyFolder()
{
    Board board(m_dir->path());
    const QByteArray before = record("07/30-1", "a");
    writeAll(board.log.path(), before);
    QVERIFY(board.load());
    QVERIFY(QFile::setPermissions(board.log.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                                     | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));

    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(10);
        QString error;
        const Outcome outcome = board.log.write(board.replay, "07/30-2", {}, "b", &error);
        const bool named = error.contains(QStringLiteral("理科室.dat"))
            && error.contains(QStringLiteral("アクセスが許可されていません"));
        _exit(outcome == Outcome::Failed && named ? 0 : 11);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readAll(board.log.path()), before);
}
#endif

#ifdef Q_OS_WIN
// Another program holding the file open: Qt's file code on Windows leaves
// errno alone, and the reason is read from the Windows error code, in
// Japanese whatever language Windows speaks.
void TestBookingLog::heldByAnotherProgram_data()
{
    QTest::addColumn<DWORD>("sharing");
    QTest::newRow("it lets others read") << DWORD(FILE_SHARE_READ);
    QTest::newRow("it lets no one in") << DWORD(0);
}

void TestBookingLog::heldByAnotherProgram()
{
    QFETCH(DWORD, sharing);
    const QString sharingViolation = QStringLiteral("ほかのプログラムがファイルを使用中です。");
    Board board(m_dir->path());
    const QByteArray before = record("07/30-1", "a");
    writeAll(board.log.path(), before);
    QVERIFY(board.load());

    const HANDLE other = ::CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(board.log.path()).utf16()),
                                       GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
    QVERIFY(other != INVALID_HANDLE_VALUE);
    Board second(m_dir->path());
    QString readError, writeError;
    const bool read = second.log.replay(second.replay, &readError);
    const Outcome outcome = board.log.write(board.replay, "07/30-2", {}, "b", &writeError);
    ::CloseHandle(other);

    QCOMPARE(read, (sharing & FILE_SHARE_READ) != 0);
    QVERIFY2(read || readError.endsWith(sharingViolation), qPrintable(readError));
    QCOMPARE(outcome, Outcome::Failed);
    QVERIFY2(writeError.contains(QStringLiteral("理科室.dat")) && writeError.endsWith(sharingViolation),
             qPrintable(writeError));
    QCOMPARE(readAll(board.log.path()), before);
    QCOMPARE(board.slot("07/30-2"), QString());
}
#endif

QTEST_GUILESS_MAIN(TestBookingLog)
#include "tst_bookinglog.moc"
