#include "board/BookingLog.h"
#include "board/BookingRecord.h"
#include "board/Cp932.h"
#include "board/BookingReplay.h"
#include "board/DateWindow.h"
#include "board/FileLock.h"
#include "board/LineReader.h"
#include "board/RoomLocation.h"
#include "board/SlotKey.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <fcntl.h>
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

void appendAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray record(const QString &key, const QString &text)
{
    return BookingRecord::format(key, text).value();
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
    void replacedFileIsReadAgain_data();
    void replacedFileIsReadAgain();
    void pollReadsOnlyWhatChanged();
    void pollNeverShowsHalfARecord();
    void lockHeldElsewhereIsBusy();
    void otherEncodingIsReadOnly_data();
    void otherEncodingIsReadOnly();
    void utf8WithoutMark_data();
    void utf8WithoutMark();
    void unusableFile_data();
    void unusableFile();
#ifdef Q_OS_UNIX
    void notABookingFile_data();
    void notABookingFile();
    void roomNamesKeepTheirBytes();
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
    // Gone again by the time of a booking: written to a new file.
    QVERIFY(QFile::remove(board.log.path()));
    QCOMPARE(board.book("07/30-1", "a"), Outcome::Written);
    QCOMPARE(readAll(board.log.path()), record("07/30-1", "a"));
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
    // Past the first record, more than the bytes a reader knows its file by.
    writeAll(board.log.path(), record("07/30-1", "a") + record("08/13-1", QString(80, 'x')));
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

// Whether the file was renamed over, or emptied and written again, the
// board shows what a board opened afresh would, and books over nothing.
void TestBookingLog::replacedFileIsReadAgain_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after"); // books 07/30-3
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<bool>("byPoll"); // else by a write

    const QByteArray two = record("07/30-1", "a") + record("07/30-2", "b");
    const QByteArray shorter = record("07/30-3", "c");
    const QByteArray longer = record("07/30-2", "bb") + record("07/30-3", "c") + record("08/13-1", "x");
    const QByteArray filler = record("08/13-1", QString(80, 'x'));
    QTest::newRow("replaced by a shorter file") << two << shorter << false << true;
    QTest::newRow("emptied and written afresh") << two << shorter << true << false;
    QTest::newRow("replaced by a longer file") << record("07/30-1", "a") << longer << false << false;
    QTest::newRow("rewritten in place, longer") << record("07/30-1", "a") << longer << true << true;
    QTest::newRow("rewritten in place, same length")
        << two << record("07/30-1", "a") + record("07/30-3", "c") << true << true;
    QTest::newRow("replaced by a file that ends alike where the board stopped")
        << record("07/30-1", "a") + filler << record("07/30-1", "b") + filler + shorter << false << true;
}

void TestBookingLog::replacedFileIsReadAgain()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(bool, inPlace);
    QFETCH(bool, byPoll);

    Board board(m_dir->path());
    writeAll(board.log.path(), before);
    QVERIFY(board.load());
    if (inPlace) {
        writeAll(board.log.path(), after);
        // As written a second later: a file system may keep coarser times.
        QFile file(board.log.path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(file.fileTime(QFile::FileModificationTime).addSecs(1),
                                 QFile::FileModificationTime));
    } else {
        const QString other = m_dir->filePath("other");
        writeAll(other, after);
        QVERIFY(QFile::remove(board.log.path()));
        QVERIFY(QFile::rename(other, board.log.path()));
    }

    if (byPoll)
        QCOMPARE(board.log.poll(board.replay, nullptr), BookingLog::Poll::Read);
    QCOMPARE(board.book("07/30-3", "z"), Outcome::SlotChanged);
    Board fresh(m_dir->path());
    QVERIFY(fresh.load());
    for (int slot = 1; slot <= SlotKey::SlotCount; ++slot)
        QCOMPARE(board.replay.slotText(slot), fresh.replay.slotText(slot));
    QCOMPARE(readAll(board.log.path()), after);
}

void TestBookingLog::pollReadsOnlyWhatChanged()
{
    Board board(m_dir->path());
    writeAll(board.log.path(), record("08/13-1", "x").repeated(1000));
    QVERIFY(board.load());
    const qint64 loaded = board.log.bytesRead();
    QCOMPARE(board.log.poll(board.replay, nullptr), BookingLog::Poll::Unchanged);
    QCOMPARE(board.log.bytesRead(), loaded);

    const QByteArray added = record("07/31-2", "y");
    appendAll(board.log.path(), added);
    QCOMPARE(board.log.poll(board.replay, nullptr), BookingLog::Poll::Read);
    QCOMPARE(board.slot("07/31-2"), QStringLiteral("y"));
    const qint64 cost = board.log.bytesRead() - loaded;
    QVERIFY2(cost >= added.size() && cost <= added.size() + LineReader::TailSize, qPrintable(QString::number(cost)));
    QCOMPARE(board.replay.takeChangedSlots().count(), size_t(1));
    QCOMPARE(board.log.poll(board.replay, nullptr), BookingLog::Poll::Unchanged);

    // Its own record the board knows without reading it back.
    QCOMPARE(board.book("07/31-3", "z"), Outcome::Written);
    const qint64 booked = board.log.bytesRead();
    QCOMPARE(board.log.poll(board.replay, nullptr), BookingLog::Poll::Read);
    QVERIFY(board.log.bytesRead() - booked <= LineReader::TailSize);
}

// A record another board's write lands in two pieces, cut at every byte.
void TestBookingLog::pollNeverShowsHalfARecord()
{
    Board board(m_dir->path());
    QVERIFY(board.load());
    const DateWindow window = DateWindow::current(Today);
    const QString text = QStringLiteral("１-２　数学");
    const qsizetype length = record("07/30-1", text).size();
    for (int cut = 1; cut < length; ++cut) {
        const int slot = cut;
        const QByteArray whole = record(SlotKey::make(window, slot), text);
        appendAll(board.log.path(), whole.left(cut));
        QCOMPARE(board.log.poll(board.replay, nullptr), BookingLog::Poll::Read);
        // Whole but for its line end, a record counts.
        QCOMPARE(board.replay.slotText(slot), cut >= length - 2 ? text : QString());
        appendAll(board.log.path(), whole.mid(cut));
        QCOMPARE(board.log.poll(board.replay, nullptr), BookingLog::Poll::Read);
        QCOMPARE(board.replay.slotText(slot), text);
        const auto changed = board.replay.takeChangedSlots();
        QVERIFY2(changed.count() == 1 && changed.test(slot), qPrintable(QString::number(cut)));
    }
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

// A file re-saved by an editor shows its bookings and takes no record. The
// first record counts in the check, the last lies past the first chunks read.
void TestBookingLog::otherEncodingIsReadOnly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding"); // empty: CP932, written to

    const QString text = QStringLiteral("１-２　数学");
    const QString lines = QStringLiteral("\"07/30-1\",\"%1\"\r\n%2\"07/31-1\",\"最後\"\r\n")
                              .arg(text, QStringLiteral("\"08/13-1\",\"%1\"\r\n").arg(QString(40, u'数')).repeated(5000));
    QByteArray le, be;
    for (const QChar c : lines) {
        le += char(c.unicode() & 0xFF);
        le += char(c.unicode() >> 8);
        be += char(c.unicode() >> 8);
        be += char(c.unicode() & 0xFF);
    }
    QTest::newRow("utf-8 with mark") << "\xEF\xBB\xBF" + lines.toUtf8() << "UTF-8";
    QTest::newRow("utf-8 without mark") << lines.toUtf8() << "UTF-8";
    QTest::newRow("utf-16, low byte first") << "\xFF\xFE" + le << "UTF-16";
    QTest::newRow("utf-16, high byte first") << "\xFE\xFF" + be << "UTF-16";
    QTest::newRow("cp932") << Cp932::encode(lines).value() << QString();
}

void TestBookingLog::otherEncodingIsReadOnly()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);

    Board board(m_dir->path());
    writeAll(board.log.path(), bytes);
    QVERIFY(board.load());
    QCOMPARE(board.log.isReadOnly(), !encoding.isEmpty());
    QCOMPARE(board.log.encodingName(), encoding);
    QCOMPARE(board.slot("07/30-1"), QStringLiteral("１-２　数学"));
    QCOMPARE(board.slot("07/31-1"), QStringLiteral("最後"));
    QCOMPARE(board.book("07/30-2", "b"), encoding.isEmpty() ? Outcome::Written : Outcome::ReadOnly);
    if (!encoding.isEmpty())
        QCOMPARE(readAll(board.log.path()), bytes);
}

// Well-formed UTF-8 only: a CP932 file of characters that merely look like
// UTF-8 to a loose check must stay writable.
void TestBookingLog::utf8WithoutMark_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("utf8");

    const QByteArray kanji = "\xE6\x95\xB0"; // 数
    QTest::newRow("cp932 booking") << QByteArray("\"07/30-1\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\"\r\n") << false;
    QTest::newRow("ascii only") << QByteArray("\"07/30-1\",\"ab\"\r\n") << false;
    QTest::newRow("utf-8") << kanji + "\r\n" << true;
    QTest::newRow("only character cut off at the end") << "ab" + kanji.left(2) << false;
    QTest::newRow("last character cut off at the end") << kanji + kanji.left(2) << true;
    QTest::newRow("lowest three-byte form") << QByteArray("\xE0\xA0\x80") << true;
    QTest::newRow("overlong three-byte form") << kanji + "\xE0\x9F\xBF" << false;
    QTest::newRow("surrogate") << kanji + "\xED\xA0\x80" << false;
    QTest::newRow("lowest four-byte forms") << QByteArray("\xF0\x90\x80\x80\xF1\x80\x80\x80") << true;
    QTest::newRow("overlong four-byte form") << kanji + "\xF0\x8F\xBF\xBF" << false;
    QTest::newRow("highest character") << QByteArray("\xF4\x8F\xBF\xBF") << true;
    QTest::newRow("past the highest character") << kanji + "\xF4\x90\x80\x80" << false;
    QTest::newRow("no such lead byte") << kanji + "\xF5\x80\x80\x80" << false;
}

void TestBookingLog::utf8WithoutMark()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, utf8);
    QCOMPARE(FileEncoding::detect(head) == FileEncoding::Kind::Utf8, utf8);
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

#ifdef Q_OS_UNIX
void TestBookingLog::notABookingFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("fifo") << "fifo";
    QTest::newRow("fifo someone holds open") << "held fifo";
    QTest::newRow("socket") << "socket";
    QTest::newRow("link to a device") << "device";
}

// Reading one may never end, and what is written to one is gone: refused,
// never waited on, never touched.
void TestBookingLog::notABookingFile()
{
    QFETCH(QString, kind);
    Board board(m_dir->path());
    const QByteArray path = QFile::encodeName(board.log.path());
    int held = -1;
    if (kind.endsWith("fifo")) {
        QCOMPARE(::mkfifo(path.constData(), 0666), 0);
        if (kind == "held fifo")
            held = ::open(path.constData(), O_RDWR | O_NONBLOCK);
    } else if (kind == "socket") {
        held = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(path.size()) < sizeof address.sun_path);
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        QCOMPARE(::bind(held, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    } else {
        QVERIFY(QFile::link("/dev/null", board.log.path()));
    }

    ::alarm(20); // a hang ends the test as a failure
    QString readError, writeError;
    QVERIFY(!board.log.replay(board.replay, &readError));
    QVERIFY(!board.log.catchUp(board.replay, nullptr));
    QCOMPARE(board.log.poll(board.replay, nullptr), BookingLog::Poll::Failed);
    QCOMPARE(board.log.write(board.replay, "07/30-1", {}, "a", &writeError), Outcome::Failed);
    ::alarm(0);
    if (held >= 0)
        ::close(held);

    for (const QString &error : {readError, writeError}) {
        QVERIFY2(error.contains(board.log.path()) && error.contains(QStringLiteral("パイプやソケット、装置")),
                 qPrintable(error));
    }
    struct stat info = {};
    QCOMPARE(::lstat(path.constData(), &info), 0);
    QVERIFY(!S_ISREG(info.st_mode));
}

void TestBookingLog::roomNamesKeepTheirBytes()
{
    const QByteArray folder = QFile::encodeName(m_dir->path());
    // QTemporaryDir cannot name these files to remove them.
    const auto removeFiles = qScopeGuard([&folder] {
        ::unlink(folder + "/\xff" "室.dat");
        ::unlink(folder + "/\xfe" "室.dat");
    });
    BookingLog first(RoomLocation::fromNativePath(folder + "/\xff" "室"));
    BookingLog second(RoomLocation::fromNativePath(folder + "/\xfe" "室"));
    BookingReplay firstReplay(DateWindow::current(Today), 0);
    BookingReplay secondReplay(DateWindow::current(Today), 0);
    QVERIFY(first.replay(firstReplay, nullptr));
    QVERIFY(second.replay(secondReplay, nullptr));
    QCOMPARE(first.write(firstReplay, "07/30-1", {}, "a", nullptr), Outcome::Written);
    QVERIFY(second.catchUp(secondReplay, nullptr));
    QCOMPARE(secondReplay.slotText(1), QString());

    struct stat info = {};
    QCOMPARE(::stat(folder + "/\xff" "室.dat", &info), 0);
    QCOMPARE(info.st_size, record("07/30-1", "a").size());
    QCOMPARE(::stat(folder + "/\xfe" "室.dat", &info), 0);
    QCOMPARE(info.st_size, 0);
    QCOMPARE(first.path(), m_dir->filePath(QStringLiteral("\uFFFD室.dat")));
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
