#pragma once

#include "core/FileEncoding.h"
#include "core/FileStamp.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QtGlobal>
#include <chrono>
#include <optional>
#include <system_error>

class BookingReplay;
class NativeFile;
struct RoomLocation;

// The room's booking file: an append-only log beside the program, one record
// a line, replayed whole on every refresh. Several boards, on several
// computers, may use one file at once; writers take turns under a lock and
// never book over a change they have not seen.
class BookingLog
{
public:
    enum class Outcome {
        Written,     // the record is on disk
        SlotChanged, // someone else changed the slot first; nothing written
        Busy,        // the lock could not be had in time; nothing written
        ReadOnly,    // the file is in another encoding; nothing written
        Failed,      // the file could not be written; it is as it was
    };

    enum class Poll {
        Unchanged, // the file is as it was when last read: nothing was read
        Read,      // what changed was taken in
        Failed,    // the file could not be read; what is shown stays
    };

    static constexpr std::chrono::milliseconds LockTimeout{3000};
    // The largest file taken for a booking file: 32 MiB, some 1.4 million
    // records. A busy room writes a few thousand a year, so anything near
    // this is damage or mischief (a sparse file of zeros), and reading it
    // would freeze every board on it. Refused without reading a byte.
    static constexpr qint64 MaxFileSize = 32LL * 1024 * 1024;
    // A file swapped for another while a record was being written is written
    // to again, this many times at most.
    static constexpr int WriteAttempts = 3;

    BookingLog(const QString &folder, const QString &roomName);
    explicit BookingLog(const RoomLocation &room);

    QString path() const { return m_path.shown; }
    // Where a room keeps its bookings: "<room>.dat" in the room's folder.
    static NativePath pathOf(const RoomLocation &room);

    // Creates the file when it is missing, then feeds every line to the
    // replay. False, with a message naming the file and the cause, when the
    // file can be neither created nor read: a board must never pass off an
    // unreadable file as one without bookings. A FIFO, socket or device at
    // the path is refused before anything is read from it.
    bool replay(BookingReplay &replay, QString *error);

    // Feeds the replay what was appended since the file was last read,
    // reading from where it stopped, not the whole file again. A file that
    // was emptied or replaced since is replayed whole.
    bool catchUp(BookingReplay &replay, QString *error);

    // A look at the file without reading it: only when its size, time of
    // writing or identity changed does it catch up.
    Poll poll(BookingReplay &replay, QString *error);

    // A file someone re-saved in another encoding is shown but never
    // appended to.
    bool isReadOnly() const { return m_encoding != FileEncoding::Kind::Cp932; }
    QString encodingName() const { return FileEncoding::name(m_encoding); }

    // Under the lock: takes in what others appended, checks that the slot
    // (1…70 of the replay's window) still shows `expected`, appends the record and flushes it to disk.
    // The replay then shows the new text. Written only when the record is in
    // the file that the path names: one renamed over it, or deleted and made
    // again, while the board waited or wrote, is read and checked afresh.
    Outcome write(BookingReplay &replay, int slot, const QString &expected, const QString &text,
                  QString *error);

    // Bytes of the file read so far, so that tests and benchmarks can tell
    // what a look at the file cost.
    qint64 bytesRead() const { return m_bytesRead; }

private:
    bool open(NativeFile &file, QIODevice::OpenMode mode, bool create, FileStamp *stamp,
              const QString &headline, QString *error);
    bool readOn(NativeFile &file, const FileStamp &stamp, BookingReplay &replay, QString *error);
    bool recognises(NativeFile &file, const FileStamp &stamp);
    bool readWhole(NativeFile &file, const FileStamp &stamp, BookingReplay &replay, QString *error);
    bool readWholeFrom(NativeFile &file, const FileStamp &stamp, BookingReplay &replay, QString *error);
    bool readFrom(NativeFile &file, qint64 offset, const FileStamp &stamp, BookingReplay &replay,
                  QString *error, bool skipping = false);
    bool isAtPath(const FileStamp &stamp) const;
    std::optional<Outcome> writeLocked(NativeFile &file, BookingReplay &replay, int slot,
                                       const QString &expected, const QString &text,
                                       const QByteArray &record, QString *error);
    bool appendLocked(NativeFile &file, const QByteArray &record, QString *error);
    QString failure(const QString &headline, std::error_code cause) const;

    NativePath m_path;
    FileEncoding::Kind m_encoding = FileEncoding::Kind::Cp932;
    FileStamp m_stamp;     // the file as it was when last read
    qint64 m_consumed = 0; // offset past the last whole line replayed
    // Past m_consumed: a line too long to be a record runs on at least to
    // here, so it is not read again from its start. 0 when there is none.
    qint64 m_skippedTo = 0;
    QByteArray m_tail;     // the bytes just before m_consumed, to know the file again
    qint64 m_bytesRead = 0;
};
