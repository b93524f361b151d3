#pragma once

#include "core/BookingLog.h"
#include "core/BookingReplay.h"
#include "core/DateWindow.h"
#include "core/NamingMode.h"
#include "core/RoomLocation.h"
#include "core/SlotHistory.h"
#include "core/SlotKey.h"

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>

struct BoardView;

// The board of one room without its window: the two weeks shown, the booking
// file and what it says, and the naming mode. Each step a teacher takes on
// the board comes here and answers what the window must show or ask next.
class BoardSession
{
public:
    // Right after a booking of this board's own, class label and subject
    // show joined, the label on a line of its own; the stored text, with an
    // ideographic space between them, shows once the file is read again.
    struct Caption
    {
        QString text;
        int breakAfter = -1;
    };

    // A slot as the board shows it and a screen reader says it.
    struct ShownSlot
    {
        int slot = 0;
        Caption caption;
        QString spoken;
    };

    struct Result
    {
        enum class Outcome {
            Done,        // nothing to show beyond the changed slots
            AskClass,    // a free slot: the class dialog says what to book
            AskClearing, // a booked slot: the teacher confirms the clearing
            Notice,      // the message says why nothing was written
            Error,       // the message says which file failed and why
            Unreadable,  // the message says why the board cannot go on
        };
        Outcome outcome = Outcome::Done;
        QString message;
        QList<ShownSlot> changedSlots; // whose caption changed, in slot order
        NamingMode namingMode = NamingMode::Lettered;
    };

    BoardSession(std::function<QDate()> today, std::function<RoomLocation()> location);

    // The room and today's week, read afresh; all slots change.
    Result load();
    Result thisWeek() { return load(); }
    // A week after today's, never after the week shown.
    Result nextWeek();
    // What others changed in the file since it was last read.
    Result poll();

    // A click on a slot, from first look to last repaint: the view is told
    // what changed and asked what to book or whether to clear.
    void click(int slot, const BoardView &view);
    // A clearing undone: the text the slot had before, booked again only
    // while the slot is still free.
    Result rebook(int slot, const QString &text);
    Result toggleNamingMode();

    // Every text the slot has had, read from the file now, never before.
    std::optional<QList<SlotHistory::Entry>> history(int slot, QString *error) const;

    Caption caption(int slot) const;
    // The slot's day and lesson: "7月30日(月) 3時間目".
    QString slotName(int slot) const;
    // What a screen reader says of a slot: its day, lesson and booking.
    QString spokenSlot(int slot) const;
    QString month() const { return QString::number(m_window.month()); }
    QString dayNumber(int column) const;
    const DateWindow &window() const { return m_window; }
    static QString weekdayLabel(int column);
    const RoomLocation &room() const { return m_room; }
    // False after a file that could not be read: no slot may then be used.
    bool isUsable() const { return m_usable; }
    NamingMode namingMode() const { return m_replay.namingMode(); }

private:
    Result refresh();
    // What a click on a slot means, once others' changes are taken in: a
    // slot that changed under the teacher's eyes is refused.
    Result look(int slot);
    // The class dialog's answer; an empty label and subject book nothing.
    Result book(int slot, NamingMode modeAfterDialog, const QString &classLabel, const QString &subject);
    // A copy of `expected`: the replay's own text changes as others'
    // records are read.
    Result write(int slot, QString expected, const QString &text);
    ShownSlot shown(int slot) const;
    Result finish(Result::Outcome outcome = Result::Outcome::Done, const QString &message = {});
    QString readOnlyMessage() const;

    std::function<QDate()> m_today;
    std::function<RoomLocation()> m_location;
    RoomLocation m_room;
    DateWindow m_window;
    // Kept between refreshes, so that a look reads only what was appended.
    std::optional<BookingLog> m_log;
    BookingReplay m_replay;
    // The class label's length in a slot booked here since it was last
    // read, else -1.
    std::array<int, SlotKey::SlotCount + 1> m_joinedAt{};
    bool m_usable = false;
    bool m_toldReadOnly = false;
};
