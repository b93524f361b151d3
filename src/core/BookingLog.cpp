#include "core/BookingLog.h"

#include "core/BookingFileMessages.h"
#include "core/BookingRecord.h"
#include "core/BookingReplay.h"
#include "core/FileError.h"
#include "core/FileLock.h"
#include "core/LineReader.h"
#include "core/NativeFile.h"
#include "core/RoomLocation.h"
#include "core/Utf16Device.h"

#include <QDir>
#include <QLocale>
#include <limits>

namespace {

const auto Swapped = QStringLiteral(
    "\n書き込みの間に、ほかのプログラムがファイルを置き換えました。もう一度クリックしてください。");

} // namespace

using namespace BookingFileMessages;

NativePath BookingLog::pathOf(const RoomLocation &room)
{
    const QString shown = QDir(room.folder).filePath(room.roomName + QStringLiteral(".dat"));
    if (room.nativePath.isEmpty())
        return NativePath::fromShown(shown);
    return NativePath{shown, room.nativePath + ".dat"};
}

BookingLog::BookingLog(const QString &folder, const QString &roomName)
    : BookingLog(RoomLocation{folder, roomName, {}})
{
}

BookingLog::BookingLog(const RoomLocation &room)
    : m_path(pathOf(room))
{
}

// headline holds %1 for the file's name.
QString BookingLog::failure(const QString &headline, std::error_code cause) const
{
    return headline.arg(QDir::toNativeSeparators(m_path.shown)) + QLatin1Char('\n')
        + FileError::reason(m_path.shown, cause);
}

bool BookingLog::open(NativeFile &file, QIODevice::OpenMode mode, bool create, FileStamp *stamp,
                      const QString &headline, QString *error)
{
    if (file.open(m_path, mode, create, stamp))
        return true;
    if (error) {
        if (stamp->kind == FileStamp::Kind::Other)
            *error = headline.arg(QDir::toNativeSeparators(m_path.shown)) + QLatin1Char('\n') + NotAFile;
        else
            *error = failure(headline, file.error());
    }
    return false;
}

bool BookingLog::replay(BookingReplay &replay, QString *error)
{
    NativeFile file;
    FileStamp stamp;
    // A missing file is created empty; one that vanished again before it
    // could be opened is created once more, and only once.
    for (int attempt = 0; !open(file, QIODevice::ReadOnly, false, &stamp, CannotRead, error);
         ++attempt) {
        if (attempt == 2 || FileStamp::atPath(m_path).kind != FileStamp::Kind::Missing)
            return false;
        NativeFile created;
        if (!open(created, QIODevice::WriteOnly | QIODevice::Append, true, &stamp, CannotCreate,
                  error)) {
            return false;
        }
    }
    return readWhole(file, stamp, replay, error);
}

bool BookingLog::catchUp(BookingReplay &replay, QString *error)
{
    NativeFile file;
    FileStamp stamp;
    if (!open(file, QIODevice::ReadOnly, false, &stamp, CannotRead, error))
        return false;
    return readOn(file, stamp, replay, error);
}

BookingLog::Poll BookingLog::poll(BookingReplay &replay, QString *error)
{
    const FileStamp now = FileStamp::atPath(m_path);
    if (now.kind == FileStamp::Kind::Regular && now == m_stamp)
        return Poll::Unchanged;
    return catchUp(replay, error) ? Poll::Read : Poll::Failed;
}

// Goes on from where the last read stopped, if the file is still the one
// read then: the same file, at least as long, and with the same bytes just
// before that point. A file emptied, or replaced by another, perhaps longer
// one, is read again from its start; so is one without a whole line yet.
bool BookingLog::readOn(NativeFile &file, const FileStamp &stamp, BookingReplay &replay, QString *error)
{
    if (m_consumed == 0 || !recognises(file, stamp))
        return readWhole(file, stamp, replay, error);
    if (stamp.size > MaxFileSize)
        return readWhole(file, stamp, replay, error); // which refuses it
    // Back by a tail's length, so that the bytes the file is known by are
    // those before the end of the long line, not before where reading began.
    if (m_skippedTo > m_consumed)
        return readFrom(file, m_skippedTo - LineReader::TailSize, stamp, replay, error, true);
    return readFrom(file, m_consumed, stamp, replay, error);
}

bool BookingLog::recognises(NativeFile &file, const FileStamp &stamp)
{
    if (!stamp.isSameFile(m_stamp) || stamp.size < m_consumed)
        return false;
    if (!file.seek(m_consumed - m_tail.size()))
        return false;
    const QByteArray bytes = file.read(m_tail.size());
    m_bytesRead += bytes.size();
    return bytes == m_tail;
}

// A read that fails half-way leaves the replay as it was, not emptied: a
// board must not show a week of free slots because the share stalled. The
// file counts as unread until a read succeeds, so the next look starts over.
bool BookingLog::readWhole(NativeFile &file, const FileStamp &stamp, BookingReplay &replay,
                           QString *error)
{
    BookingReplay before = replay;
    m_consumed = 0;
    m_tail.clear();
    if (readWholeFrom(file, stamp, replay, error))
        return true;
    replay = std::move(before);
    return false;
}

bool BookingLog::readWholeFrom(NativeFile &file, const FileStamp &stamp, BookingReplay &replay,
                               QString *error)
{
    using FileEncoding::Kind;
    const QString shown = QDir::toNativeSeparators(m_path.shown);
    if (stamp.size > MaxFileSize) {
        if (error) {
            const QLocale numbers(QLocale::Japanese, QLocale::Japan);
            *error = CannotRead.arg(shown) + QLatin1Char('\n')
                + TooLarge.arg(numbers.toString(stamp.size), numbers.toString(MaxFileSize));
        }
        return false;
    }
    QByteArray head(FileEncoding::HeadSize, Qt::Uninitialized);
    const qint64 got = file.pos() != 0 && !file.seek(0) ? -1 : file.read(head.data(), head.size());
    if (got < 0) {
        if (error)
            *error = failure(CannotRead, file.error());
        return false;
    }
    head.truncate(got);
    const Kind encoding = FileEncoding::detect(head);
    if (encoding == Kind::NotText) {
        if (error)
            *error = CannotRead.arg(shown) + QLatin1Char('\n') + NotBookings;
        return false;
    }
    replay.clearSlots();
    replay.setEncoding(encoding == Kind::Cp932 ? BookingReplay::Encoding::Cp932
                                                 : BookingReplay::Encoding::Utf8);
    const qint64 start = FileEncoding::markSize(encoding);
    // The encoding the file was written in decides whether it may be
    // written to, so it is taken only with what was read.
    if (encoding != Kind::Utf16LittleEndian && encoding != Kind::Utf16BigEndian) {
        if (!readFrom(file, start, stamp, replay, error))
            return false;
        m_encoding = encoding;
        return true;
    }

    // Offsets in the converted text are none in the file: a UTF-16 file is
    // read whole each time it changed.
    if (file.pos() != start && !file.seek(start)) {
        if (error)
            *error = failure(CannotRead, file.error());
        return false;
    }
    Utf16Device device(file, encoding == Kind::Utf16BigEndian, stamp.size - start);
    LineReader reader(device, 0, std::numeric_limits<qint64>::max());
    QByteArrayView line;
    while (reader.next(line))
        replay.addLine(line);
    m_bytesRead += device.sourceBytesRead();
    if (reader.failed()) {
        if (error)
            *error = failure(CannotRead, file.error());
        return false;
    }
    m_encoding = encoding;
    m_stamp = stamp;
    return true;
}

bool BookingLog::readFrom(NativeFile &file, qint64 offset, const FileStamp &stamp,
                          BookingReplay &replay, QString *error, bool skipping)
{
    if (offset != file.pos() && !file.seek(offset)) {
        if (error)
            *error = failure(CannotRead, file.error());
        return false;
    }

    // Up to the size the file had when opened: what is appended meanwhile
    // changes the stamp, and the next look reads it.
    LineReader reader(file, offset, stamp.size, skipping);
    QByteArrayView line;
    while (reader.next(line))
        replay.addLine(line);
    m_bytesRead += reader.bytesRead();
    if (reader.failed()) {
        if (error)
            *error = failure(CannotRead, file.error());
        return false;
    }
    const QByteArrayView fresh = reader.tail();
    const qint64 end = reader.completeEnd();
    // Without a whole line read, the offset stays: at 0 after a first read,
    // so that the next one starts over and looks at the encoding again, as a
    // byte order mark alone settles nothing.
    if (end > offset) {
        // Read from where the tail kept ended, or from the start with none kept.
        if (end - fresh.size() == offset && !skipping)
            m_tail = (m_tail + fresh.toByteArray()).right(LineReader::TailSize);
        else
            m_tail = fresh.toByteArray();
        m_consumed = end;
    }
    // An unended stretch longer than any record can only be a line to pass
    // over, however it goes on.
    const qint64 readTo = offset + reader.bytesRead();
    m_skippedTo = readTo - m_consumed > LineReader::MaxLineLength + 1 ? readTo : 0;
    m_stamp = stamp;
    return true;
}

bool BookingLog::isAtPath(const FileStamp &stamp) const
{
    return FileStamp::atPath(m_path).isSameFile(stamp);
}

BookingLog::Outcome BookingLog::write(BookingReplay &replay, int slot, const QString &expected,
                                      const QString &text, QString *error)
{
    const auto record = BookingRecord::format(replay.keyOfSlot(slot), text);
    if (!record) {
        if (error)
            *error = CannotWrite.arg(QDir::toNativeSeparators(m_path.shown))
                + QStringLiteral("\n保存できない文字が含まれています。");
        return Outcome::Failed;
    }
    if (isReadOnly())
        return Outcome::ReadOnly;

    for (int attempt = 0; attempt < WriteAttempts; ++attempt) {
        NativeFile file;
        FileStamp stamp;
        if (!open(file, QIODevice::ReadWrite | QIODevice::Append, true,
                  &stamp, CannotWrite, error)) {
            return Outcome::Failed;
        }
        const FileLock lock(file, LockTimeout);
        if (!lock.isLocked() && !lock.cause())
            return Outcome::Busy;
        if (!lock.isLocked()) {
            if (error)
                *error = failure(CannotLock, lock.cause());
            return Outcome::Failed;
        }
        if (const auto outcome = writeLocked(file, replay, slot, expected, text, *record, error))
            return *outcome;
    }
    if (error)
        *error = CannotWrite.arg(QDir::toNativeSeparators(m_path.shown)) + Swapped;
    return Outcome::Failed;
}

// Nothing when the path names another file than the one opened, before the
// record was written or after: it is not, or not only, where boards read.
std::optional<BookingLog::Outcome> BookingLog::writeLocked(NativeFile &file, BookingReplay &replay,
                                                           int slot,
                                                           const QString &expected,
                                                           const QString &text,
                                                           const QByteArray &record,
                                                           QString *error)
{
    const FileStamp locked = file.stamp();
    if (!isAtPath(locked))
        return std::nullopt;
    // What others appended before we had the lock is read too.
    if (!readOn(file, locked, replay, error))
        return Outcome::Failed;
    if (isReadOnly())
        return Outcome::ReadOnly;
    if (replay.slotText(slot) != expected)
        return Outcome::SlotChanged;

    const qint64 before = file.size();
    if (!appendLocked(file, record, error))
        return Outcome::Failed;
    if (!isAtPath(file.stamp()))
        return std::nullopt;
    // The record just written is known without reading it back; skipping
    // it is safe only when it directly followed what was already read.
    const qint64 after = file.size();
    if (m_consumed == before && after == before + record.size()) {
        m_consumed = after;
        m_tail = (m_tail + record).right(LineReader::TailSize);
    }
    replay.setSlotText(slot, text);
    return Outcome::Written;
}

bool BookingLog::appendLocked(NativeFile &file, const QByteArray &record, QString *error)
{
    const qint64 before = file.size();
    QByteArray bytes;
    // A line cut off by a crash or an editor stays a line of its own, so the
    // new record is not glued onto it. One cut off just before its LF is
    // shown as whole, and made whole, so as not to vanish once written after.
    if (before > 0) {
        char last = '\n';
        if (!file.seek(before - 1) || file.read(&last, 1) != 1) {
            if (error)
                *error = failure(CannotRead, file.error());
            return false;
        }
        if (last == '\r')
            bytes += '\n';
        else if (last != '\n')
            bytes += "\r\n";
    }
    bytes += record;

    // One write call: a reader never sees the line in pieces from us.
    const bool written = file.write(bytes) == bytes.size() && file.sync();
    if (!written) {
        const std::error_code cause = file.error();
        // Take back whatever part did reach the file: a half record must not
        // be left behind for a booking the teacher was told had failed.
        file.resize(before);
        if (error)
            *error = failure(CannotWrite, cause);
        return false;
    }
    return true;
}
