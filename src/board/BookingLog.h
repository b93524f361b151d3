#pragma once

#include <QString>

class BookingReplay;

// The room's booking file: an append-only log beside the program, one record
// a line, replayed whole on every refresh.
class BookingLog
{
public:
    BookingLog(const QString &folder, const QString &roomName);

    QString path() const { return m_path; }

    // Creates the file when it is missing, then feeds every line to the
    // replay. False, with a message naming the file and the cause, when the
    // file can be neither created nor read: a board must never pass off an
    // unreadable file as one without bookings.
    bool replay(BookingReplay &replay, QString *error) const;

    // Appends one record and makes sure it reached the disk before saying
    // so. On failure the file is left as it was and the message says why.
    bool append(const QString &key, const QString &text, QString *error) const;

private:
    bool createIfMissing(QString *error) const;
    QString m_path;
};
