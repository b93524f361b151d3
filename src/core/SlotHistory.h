#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

struct RoomLocation;

// Everything one slot has shown, read from the room's booking file when a
// teacher asks what became of a booking. Read afresh on every request and
// never at start-up: the board itself needs only the last record of a key.
class SlotHistory
{
public:
    struct Entry
    {
        qint64 line = 0; // 1-based, as an editor counts, unreadable lines included
        QString text;    // empty for a clearing
        // Written for this month and day of an earlier year, as far as the
        // order of the file's dates tells: see SlotHistory.cpp.
        bool possiblyAnotherYear = false;

        bool isClearing() const { return text.isEmpty(); }
    };

    // The records of the slot that `key` ("mm/dd-N") names, oldest first,
    // as the board reads them: a record belongs to the slot when the board
    // would place it there. A missing file has no history and is not made.
    // Nothing, with the board's own message, for a file the board refuses.
    static std::optional<QList<Entry>> read(const RoomLocation &room, const QString &key,
                                            QString *error);

    // Days a record may lie before the latest date the file has reached and
    // still be of the same year: the board books within twelve consecutive
    // dates, so a later record is at most 11 days earlier than any before it.
    // One more for 29 February, which the count here always holds.
    static constexpr int SameYearSpan = 12;
};
