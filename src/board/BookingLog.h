#pragma once

#include <QString>
#include <QtGlobal>
#include <chrono>

class BookingReplay;
class QFile;

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

    static constexpr std::chrono::milliseconds LockTimeout{3000};

    BookingLog(const QString &folder, const QString &roomName);

    QString path() const { return m_path; }

    // Creates the file when it is missing, then feeds every line to the
    // replay. False, with a message naming the file and the cause, when the
    // file can be neither created nor read: a board must never pass off an
    // unreadable file as one without bookings.
    bool replay(BookingReplay &replay, QString *error);

    // Feeds the replay what was appended since replay() or the last
    // catchUp(), reading from where it stopped, not the whole file again.
    bool catchUp(BookingReplay &replay, QString *error);

    // A file someone re-saved in another encoding (it starts with a UTF-8
    // byte order mark) is shown but never appended to.
    bool isReadOnly() const { return m_readOnly; }

    // Under the lock: takes in what others appended, checks that the key's
    // slot still shows `expected`, appends the record and flushes it to disk.
    // The replay then shows the new text.
    Outcome write(BookingReplay &replay, const QString &key, const QString &expected,
                  const QString &text, QString *error);

private:
    bool createIfMissing(QString *error) const;
    bool readFrom(QFile &file, qint64 offset, BookingReplay &replay, QString *error);
    bool appendLocked(QFile &file, const QByteArray &record, QString *error);

    QString m_path;
    qint64 m_consumed = 0; // offset past the last whole line replayed
    bool m_readOnly = false;
};
