#pragma once

#include "board/SlotKey.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

class DateWindow;

// Replays booking records, in file order, onto the 70 slots of a date window
// and into the naming mode. The last record of a key decides its slot.
class BookingReplay
{
public:
    BookingReplay(const DateWindow &window, int namingMode);

    // One line of the file, without its line end. Lines that are no record,
    // and records for a day the window does not show, change nothing.
    void addLine(QByteArrayView line);

    // Slot 1…70; empty means free.
    const QString &slotText(int slot) const { return m_slots[slot]; }
    int namingMode() const { return m_namingMode; }

    // The slot a key names in this window, or 0 when it names none. Keys
    // carry no year, so a key matches its month and day in any year.
    int slotForKey(QByteArrayView key) const;

private:
    std::array<QByteArray, 10> m_columnMonthDays;
    std::array<QString, SlotKey::SlotCount + 1> m_slots;
    int m_namingMode;
};
