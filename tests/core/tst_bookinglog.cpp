#include "core/BookingLog.h"
#include "core/BookingRecord.h"
#include "core/BookingReplay.h"
#include "core/DateWindow.h"
#include "core/FileLock.h"
#include "core/FileSystem.h"
#include "core/LineReader.h"
#include "core/SlotKey.h"
#include "../support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <functional>
#include <thread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#else
#include <io.h>
#include <windows.h>
#endif

using Outcome = BookingLog::Outcome;
using Poll = BookingLog::Poll;

namespace {

const QString Room = QStringLiteral("理科室");
const QDate Today(2018, 8, 1); // window 2018/07/30 … 2018/08/10

QByteArray record(const QString &key, const QString &text)
{
    return BookingRecord::format(key, text).value();
}

// A lock on one byte, as another board or program takes it.
bool lockByte(QFile &file, qint64 byte)
{
#ifdef Q_OS_WIN
    OVERLAPPED where = {};
    where.Offset = DWORD(byte);
    return ::LockFileEx(HANDLE(::_get_osfhandle(file.handle())), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                        0, 1, 0, &where);
#else
    struct flock request = {.l_type = F_WRLCK, .l_whence = SEEK_SET, .l_start = byte, .l_len = 1, .l_pid = 0};
    return ::fcntl(file.handle(), F_OFD_SETLK, &request) == 0;
#endif
}

// The disk's and the share's own failures, which no file can be made to show.
struct FailingFileSystem : FileSystem
{
    QString failing;
    static std::error_code io() { return std::make_error_code(std::errc::io_error); }

    std::error_code sync(FileHandle handle) override { return failing == "flush" ? io() : FileSystem::sync(handle); }
    // "read": only the look at the file's last byte fails; "reads": all but the look at its head.
    std::error_code read(FileHandle handle, char *data, qint64 size, qint64 *got) override
    {
        const bool fails = failing == "read" ? size == 1 : failing == "reads" && size != FileEncoding::HeadSize;
        return fails ? io() : FileSystem::read(handle, data, size, got);
    }
    std::error_code seek(FileHandle handle, qint64 offset) override { return failing == "seek" ? io() : FileSystem::seek(handle, offset); }
    std::error_code stat(FileHandle handle, FileStamp *stamp) override { return failing == "stat" ? io() : FileSystem::stat(handle, stamp); }
    // "swapped": another file put in place at every look at the path.
    std::error_code stat(const NativePath &path, FileStamp *stamp) override
    {
        const std::error_code code = FileSystem::stat(path, stamp);
        stamp->index += failing == "swapped";
        return code;
    }
    // A network folder mounted without its lock service.
    std::error_code tryLock(FileHandle handle, qint64 byte) override
    {
        return failing == "lock" ? std::make_error_code(std::errc::no_lock_available) : FileSystem::tryLock(handle, byte);
    }
};

// Work in a process of its own, with other rights and limits, and started
// without standard input as a board may be: the file it opens first gets
// descriptor 0. A hang ends it as a failure. On Windows, in this process.
bool inOwnProcess(const std::function<bool()> &work)
{
#ifdef Q_OS_UNIX
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(20);
        ::close(0);
        ::_exit(work() ? 0 : 1);
    }
    int status = -1;
    return ::waitpid(child, &status, 0) == child && status == 0;
#else
    return work();
#endif
}

// A board's view of the file: the log and its replay of this week.
struct Board
{
    explicit Board(const QString &folder) : log(folder, Room) {}
    bool load() { return log.replay(replay, nullptr); }
    Outcome book(const QString &key, const QString &text) { return log.write(replay, replay.slotForKey(key.toLatin1()), {}, text, nullptr); }
    QString slot(const QString &key) const { return replay.slotText(replay.slotForKey(key.toLatin1())); }

    BookingLog log;
    BookingReplay replay{DateWindow::current(Today)};
};

} // namespace

class TestBookingLog : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // Another board's record lands in two pieces, cut at every byte: shown
    // once whole, or whole but for its line end, never in part. A look reads
    // what was added and the bytes the board knows the file by; a look at an
    // unchanged file reads nothing.
    void pollReadsWhatWasAdded()
    {
        Board board(m_dir->path());
        QVERIFY(board.load());
        const QString text = QStringLiteral("１-２　数学");
        for (int slot = 1; slot < record("07/30-1", text).size(); ++slot) {
            const QByteArray whole = record(SlotKey::make(DateWindow::current(Today), slot), text);
            for (const QByteArray &piece : {whole.left(slot), whole.mid(slot)}) {
                QVERIFY(writeAll(board.log.path(), piece, QIODevice::Append));
                const qint64 before = board.log.bytesRead();
                QCOMPARE(board.log.poll(board.replay, nullptr), Poll::Read);
                QCOMPARE_LE(board.log.bytesRead() - before, whole.size() + LineReader::TailSize);
                QCOMPARE(board.replay.slotText(slot), piece.endsWith('\n') || slot >= whole.size() - 2 ? text : QString());
            }
            QCOMPARE(board.replay.takeChangedSlots().count(), size_t(1));
            const qint64 before = board.log.bytesRead();
            QCOMPARE(board.log.poll(board.replay, nullptr), Poll::Unchanged);
            QCOMPARE(board.log.bytesRead(), before);
        }

        // Its own record the board knows without reading it back: the write
        // and the next look each read only the bytes it knows its file by.
        const qint64 before = board.log.bytesRead();
        QCOMPARE(board.book("08/10-1", "z"), Outcome::Written);
        QCOMPARE(board.log.poll(board.replay, nullptr), Poll::Read);
        QCOMPARE(board.log.bytesRead() - before, 2 * LineReader::TailSize);

        // A line too long to be a record, still growing, is read once, not
        // again from its start at every look; the record after it shows.
        for (const QByteArray &more : {QByteArray(100000, 'x'), QByteArray("xx"), "x\r\n" + record("08/10-0", "b")}) {
            const qint64 start = board.log.bytesRead();
            QVERIFY(writeAll(board.log.path(), more, QIODevice::Append));
            QCOMPARE(board.log.poll(board.replay, nullptr), Poll::Read);
            QCOMPARE_LE(board.log.bytesRead() - start, more.size() + 2 * LineReader::TailSize);
        }
        QCOMPARE(board.slot("08/10-0"), "b");
    }

    // Whether the file was renamed over, or emptied and written again, the
    // board shows what a board opened afresh would, and books over nothing.
    void replacedFileIsReadAgain_data()
    {
        QTest::addColumn<QByteArrayList>("before"); // appended and taken in piece by piece
        QTest::addColumn<QByteArray>("after");      // books 07/30-3
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<bool>("byPoll"); // else by a write

        const QByteArray a = record("07/30-1", "a"), b = record("07/30-2", "b"), c = record("07/30-3", "c");
        const QByteArray filler = record("08/13-1", QString(80, 'x'));
        const QByteArray xs = record("07/30-1", QString(60, 'x')), ys = record("07/30-1", QString(60, 'y'));
        QTest::newRow("replaced by a shorter file") << QByteArrayList{a, b + record("08/10-0", "b")} << c << false << true;
        QTest::newRow("emptied and written afresh") << QByteArrayList{a + b} << c << true << false;
        QTest::newRow("rewritten in place, same length") << QByteArrayList{a + b} << a + c << true << true;
        QTest::newRow("replaced by a file that ends alike where the board stopped")
            << QByteArrayList{a + filler} << record("07/30-1", "b") + filler + c << false << true;
        QTest::newRow("rewritten in place but for the short record read last")
            << QByteArrayList{xs, b} << ys + b + c << true << true;
        const QByteArray utf8 = "\"07/30-2\",\"" + QStringLiteral("数").toUtf8() + "\"\r\n"; // read as CP932 first
        QTest::newRow("saved again as UTF-8") << QByteArrayList{record("07/30-1", "１") + utf8} << "\xEF\xBB\xBF" + utf8 + c << true << true;
        QTest::newRow("a byte order mark alone, then CP932") << QByteArrayList{"\xEF\xBB\xBF"} << a + c << true << true;
    }

    void replacedFileIsReadAgain()
    {
        QFETCH(QByteArrayList, before);
        QFETCH(QByteArray, after);
        QFETCH(bool, inPlace);
        QFETCH(bool, byPoll);

        Board board(m_dir->path());
        for (const QByteArray &piece : before)
            QVERIFY(writeAll(board.log.path(), piece, QIODevice::Append) && board.log.catchUp(board.replay, nullptr));
        board.replay.takeChangedSlots(); // as a board repaints
        QThread::msleep(20); // past the clock tick that change times are taken at
        const QString written = inPlace ? board.log.path() : m_dir->filePath("other");
        QVERIFY(writeAll(written, after));
        QVERIFY(inPlace || (QFile::remove(board.log.path()) && QFile::rename(written, board.log.path())));

        if (byPoll)
            QCOMPARE(board.log.poll(board.replay, nullptr), Poll::Read);
        QCOMPARE(board.book("07/30-3", "z"), board.log.isReadOnly() ? Outcome::ReadOnly : Outcome::SlotChanged);
        Board fresh(m_dir->path());
        QVERIFY(fresh.load());
        for (const char *key : {"07/30-1", "07/30-2", "07/30-3", "08/10-0"})
            QCOMPARE(board.slot(key), fresh.slot(key));
        QCOMPARE(readAll(board.log.path()), after);
        QCOMPARE(board.replay.takeChangedSlots().test(SlotKey::SlotCount), before.join().contains("08/10-0"));
    }

    // Writers take turns by a lock on one byte far past the end of the file,
    // which every board, on every computer, must agree on; readers take none.
    // The booking file moved away and another put in its place, or deleted and
    // made again, while a board waits for the lock: the record goes into the
    // file at the path, checked afresh, and not into the old one. Windows
    // refuses both while the file is open, as Qt opens it for every board.
    void lockedByte_data()
    {
        QTest::addColumn<QString>("meanwhile"); // what another board does that holds the bytes around it
        QTest::newRow("leaves the byte free") << "";
        QTest::newRow("holds the byte past the wait") << "hold";
        QTest::newRow("renames another file over it") << "rename";
        QTest::newRow("deletes it and makes it again") << "remake";
    }

    void lockedByte()
    {
        QFETCH(QString, meanwhile);
        Board board(m_dir->path());
        const QString path = board.log.path(), other = m_dir->filePath("other"), old = m_dir->filePath("old");
        const QByteArray a = record("07/30-1", "a"), b = record("07/30-2", "b"), c = record("07/30-3", "c");
        QVERIFY(writeAll(path, a) && writeAll(other, b));
        QFile holder(path); // another board in the middle of its write
        QVERIFY(holder.open(QIODevice::ReadWrite) && lockByte(holder, FileLock::LockedByte - 1)
                && lockByte(holder, FileLock::LockedByte + 1));
        QVERIFY(meanwhile.isEmpty() || lockByte(holder, FileLock::LockedByte));
        QVERIFY(board.load());
        bool swapped = false;
        std::thread swapper([&] {
            if (meanwhile != "rename" && meanwhile != "remake")
                return;
            QThread::msleep(300);
            swapped = meanwhile == "rename" ? QFile::rename(path, old) && QFile::rename(other, path)
                                            : QFile::remove(path) && writeAll(path, b);
            holder.close();
        });
        const Outcome outcome = board.book("07/30-3", "c");
        swapper.join();
        QCOMPARE(outcome, meanwhile == "hold" ? Outcome::Busy : Outcome::Written);
#ifdef Q_OS_WIN
        QVERIFY(!swapped);
#endif
        QCOMPARE(readAll(path), (swapped ? b : a) + (meanwhile == "hold" ? "" : c));
        QCOMPARE(board.slot("07/30-1"), swapped ? "" : "a");
        QCOMPARE(readAll(old), swapped && meanwhile == "rename" ? a : "<unreadable>");
    }

    // A program or other binary file under the booking file's name is
    // refused, never written to. Zeros a crash left at the end of a line are
    // no such thing (fileIsShownAndAppendedTo).
    void foreignFileIsNeverWritten_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("program") << QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20);
        QTest::newRow("Windows program") << QByteArray("MZ\x90\0\x03\0\0\0", 8);
        QTest::newRow("script") << QByteArray("#!/bin/sh\n\"07/30-1\",\"a\"\r\n");
        QTest::newRow("zeros inside a line") << record("07/30-1", "a") + QByteArray("\"07/30-2\",\"\0b\"\r\n", 16);
    }

    void foreignFileIsNeverWritten()
    {
        QFETCH(QByteArray, bytes);
        Board board(m_dir->path());
        QVERIFY(writeAll(board.log.path(), bytes));
        QString error;
        QVERIFY(!board.log.replay(board.replay, &error));
        QVERIFY2(error.contains("予約ファイルではなく、プログラムなど別の種類のファイルです。"), qPrintable(error));
        QCOMPARE(board.book("07/30-2", "b"), Outcome::Failed);
        QCOMPARE(readAll(board.log.path()), bytes);
    }

    // A file re-saved by an editor shows its bookings and takes no record;
    // the first counts in the check, the last lies past the first chunks read.
    // The last record of a CP932 file cut at every byte, with and without the
    // zeros a crash can leave behind it: the records before it still show,
    // and the next record stands on a line of its own.
    void fileIsShownAndAppendedTo_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding"); // empty: CP932, written to
        QTest::addColumn<bool>("lastShown");

        const QString lines = QStringLiteral("\"07/30-1\",\"１-２　数学\"\r\n%1\"07/31-1\",\"最後\"\r\n")
                                  .arg(QStringLiteral("\"08/13-1\",\"%1\"\r\n").arg(QString(40, u'数')).repeated(5000));
        QTest::newRow("utf-8 with mark") << "\xEF\xBB\xBF" + lines.toUtf8() << "UTF-8" << true;
        QTest::newRow("utf-8 without mark") << lines.toUtf8() << "UTF-8" << true;
        using E = QStringEncoder;
        QTest::newRow("utf-16, low byte first") << QByteArray(E(E::Utf16LE, E::Flag::WriteBom).encode(lines)) << "UTF-16" << true;
        QTest::newRow("utf-16, high byte first") << QByteArray(E(E::Utf16BE, E::Flag::WriteBom).encode(lines)) << "UTF-16" << true;
        const QByteArray first = record("07/30-1", QStringLiteral("１-２　数学"));
        const QByteArray last = record("07/31-1", QStringLiteral("最後"));
        for (int cut = 0; cut <= last.size(); ++cut) {
            for (int zeros : {0, 5}) {
                // Whole but for its line end, a record still counts.
                const bool shown = cut >= last.size() - 2 && (zeros == 0 || cut == last.size());
                QTest::addRow("cp932 cut at %d, %d zeros", cut, zeros)
                    << first + last.left(cut) + QByteArray(zeros, '\0') << QString() << shown;
            }
        }
    }

    void fileIsShownAndAppendedTo()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(bool, lastShown);

        Board board(m_dir->path());
        QVERIFY(writeAll(board.log.path(), bytes));
        QVERIFY(board.load());
        QCOMPARE(board.log.encodingName(), encoding);
        QCOMPARE(board.log.poll(board.replay, nullptr), Poll::Unchanged);
        QCOMPARE(board.slot("07/30-1"), QStringLiteral("１-２　数学"));
        QCOMPARE(board.slot("07/31-1"), lastShown ? QStringLiteral("最後") : QString());
        QCOMPARE(board.book("07/30-2", "b"), encoding.isEmpty() ? Outcome::Written : Outcome::ReadOnly);
        const QByteArray separator = bytes.endsWith('\n') ? "" : bytes.endsWith('\r') ? "\n" : "\r\n";
        QCOMPARE(readAll(board.log.path()), encoding.isEmpty() ? bytes + separator + record("07/30-2", "b") : bytes);
    }

    // Whether bytes are well-formed UTF-8 is Qt's to judge; the end of what
    // was read is ours: a character cut off there counts as far as it goes,
    // one whole there counts whole, and a byte that cannot start one is no
    // cut character. Plain ASCII and CP932 text stay CP932.
    void utf8WithoutMark()
    {
        const QByteArray k = "\xE6\x95\xB0"; // 数
        const QByteArrayList utf8{k, "\xC2\x80", "\xF0\x9F\x98\x80", k + k.left(1), k + "\xE0\xA0", k + "\xC2",
                                  k + "\xF0\x9F\x98", k + "\xF4\x8F"};
        const QByteArrayList other{"\"07/30-1\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\"\r\n", "ab", "ab" + k.left(2),
                                   k + "\x80", k + "\xF5\x80"};
        for (const QByteArray &head : utf8 + other)
            QVERIFY2((FileEncoding::detect(head) == FileEncoding::Kind::Utf8) == utf8.contains(head), head.toHex().constData());
    }

    // The teacher is told why, the file named, and the file is as it was. A
    // file the board cannot use is refused, never waited on: reading a FIFO
    // or device may never end, and what is written to one is gone. A write
    // cut short is taken back. Tried in a process with its own rights and limits.
    void toldWhy_data()
    {
        QTest::addColumn<QString>("atPath"); // "link TARGET": a link to TARGET
        QTest::addColumn<QString>("loading"); // what loading says after the file's name; empty: loaded
        QTest::addColumn<QString>("writing"); // what writing says; ending in a line break: any cause

        const QString read = "」を読み込めません。\n", create = "」を作成できません。\n", write = "」に書き込めません。\n";
        const QString folder = "同じ名前のフォルダーがあります。", missing = "フォルダーが見つかりません。";
        QTest::newRow("folder at the path") << "folder" << read + folder << write + folder;
        // What could not be created is not said to be unreadable.
        QTest::newRow("folder missing") << "no folder" << create + missing << write + missing;
        // Some 1.4 million records: far past any room's, refused unread.
        QTest::newRow("huge") << "huge" << read + "大きさが 33,554,433 バイトあり、予約ファイルとしては大きすぎます"
                                               "（上限 33,554,432 バイト）。中身を確かめてください。" << read;
        const QString io = "入出力エラーです。ディスクかネットワークに障害があるかもしれません。";
        // Written whole, then the disk reports an error: taken back.
        QTest::newRow("disk fails to flush") << "flush" << "" << write + io;
        // Before a byte is written.
        QTest::newRow("disk fails to read") << "read" << "" << read + io;
        QTest::newRow("disk fails past the file's head") << "reads" << "" << read + io;
        QTest::newRow("disk fails to seek") << "seek" << "" << read + io;
        QTest::newRow("disk fails to tell the file's size") << "stat" << "" << write + io;
        QTest::newRow("swapped at every try") << "swapped" << ""
            << write + "書き込みの間に、ほかのプログラムがファイルを置き換えました。もう一度クリックしてください。";
        // Said at once, not after waiting for another computer that has no part in it.
        QTest::newRow("no locks on this mount") << "lock" << ""
            << "」をロックできません。\nここではファイルのロックが使えません。共有フォルダーの設定を確かめてください。";
#ifdef Q_OS_UNIX
        const QString gone = "リンク先「/nonexistent/x」が見つかりません。";
        const QString notAFile = "普通のファイルではなく、パイプやソケット、装置などです。";
        QTest::newRow("dangling link") << "link /nonexistent/x" << create + gone << write + gone;
        QTest::newRow("fifo") << "fifo" << read + notAFile << write + notAFile;
        QTest::newRow("socket") << "socket" << read + notAFile << write + notAFile;
        QTest::newRow("link to a device") << "link /dev/null" << read + notAFile << write + notAFile;
        // A file of the kernel's whose every read fails; writing it fails for a cause of its own.
        QTest::newRow("read error")
            << "link /sys/class/net/lo/speed" << read + "システムのエラーです（エラー番号 22）。" << write;
        QTest::newRow("file size limit") << "limit" << "" << write + "ファイルが大きすぎます。";
        QTest::newRow("no right to write") << "read-only" << "" << write + "アクセスが許可されていません。";
#endif
    }

    void toldWhy()
    {
        QFETCH(QString, atPath);
        QFETCH(QString, loading);
        QFETCH(QString, writing);

        Board board(atPath == "no folder" ? m_dir->filePath("gone") : m_dir->path());
        const QString path = board.log.path(), target = atPath.startsWith("link ") ? atPath.mid(5) : QString();
        const QString name = "予約ファイル「" + QDir::toNativeSeparators(path);
        const QByteArray before = record("07/30-1", "a");
        if (atPath == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (atPath == "huge")
            QVERIFY(writeAll(path, {}) && QFile::resize(path, BookingLog::MaxFileSize + 1));
        else if (loading.isEmpty())
            QVERIFY(writeAll(path, before));
#ifdef Q_OS_UNIX
        if (target.startsWith("/sys") && !QFileInfo::exists(target))
            QSKIP("no such file here");
        if (!target.isEmpty())
            QVERIFY(QFile::link(target, path));
        else if (atPath == "fifo" || atPath == "socket")
            QCOMPARE(::mknod(QFile::encodeName(path).constData(), (atPath == "socket" ? S_IFSOCK : S_IFIFO) | 0666, 0), 0);
#endif
        QVERIFY(inOwnProcess([&] {
            QString loadError, writeError;
            const qsizetype openFiles = QDir("/proc/self/fd").count(); // none on Windows
            const bool loaded = board.log.replay(board.replay, &loadError);
            FailingFileSystem failing;
            failing.failing = atPath;
            FileSystem::use(&failing);
            const auto restore = qScopeGuard([] { FileSystem::use(nullptr); });
#ifdef Q_OS_UNIX
            // Room for a few bytes more, not for the record.
            const rlimit limit{rlim_t(before.size() + 5), rlim_t(before.size() + 5)};
            std::signal(SIGXFSZ, SIG_IGN);
            if (atPath == "limit" && setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return false;
            // A read-only file; root, who may write anything, becomes a user
            // who may not even enter the folder.
            if (atPath == "read-only" && !(geteuid() == 0 ? !setgid(65534) && !setuid(65534)
                                                            : QFile::setPermissions(path, QFile::ReadOwner)))
                return false;
#endif
            const bool told = (loaded ? loading.isEmpty() : loadError == name + loading)
                && board.log.write(board.replay, 2, {}, "b", &writeError) == Outcome::Failed
                && (writing.endsWith('\n') ? writeError.startsWith(name + writing) : writeError == name + writing)
                && board.slot("07/30-2").isEmpty()
                && (atPath != "reads" || !board.log.replay(board.replay, nullptr))
                // A failed read leaves the board showing what it showed.
                && board.slot("07/30-1") == (loaded ? "a" : "")
                && (loaded || !board.log.catchUp(board.replay, nullptr))
                && (loaded || board.log.poll(board.replay, nullptr) == Poll::Failed)
                && QDir("/proc/self/fd").count() == openFiles; // nothing left open
            if (!told)
                qWarning("%s\n%s", qPrintable(loadError), qPrintable(writeError));
            return told;
        }));
        if (loading.isEmpty())
            QCOMPARE(readAll(path), before);
    }
};

QTEST_GUILESS_MAIN(TestBookingLog)
#include "tst_bookinglog.moc"
