#pragma once

#include "board/SlotKey.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <bitset>

class DateWindow;

// Replays booking records, in file order, onto the 70 slots of a date window
// and into the naming mode. The last record of a key decides its slot.
class BookingReplay
{
public:
    enum class Encoding { Cp932, Utf8 };

    BookingReplay(const DateWindow &window, int namingMode);

    // One line of the file, without its line end. Lines that are no record,
    // and records for a day the window does not show, change nothing.
    void addLine(QByteArrayView line);

    // Slot 1…70; empty means free.
    const QString &slotText(int slot) const { return m_slots[slot]; }
    // Every slot free again, the naming mode kept: the start of a replay.
    void clearSlots();
    // A record this board wrote itself, known without reading it back.
    void setSlotText(int slot, const QString &text);

    int namingMode() const { return m_namingMode; }
    // The board may change the mode between refreshes; records read later
    // start from its value.
    void setNamingMode(int mode) { m_namingMode = mode; }

    // How field bytes are decoded. A file someone re-saved as UTF-8 is still
    // shown as what it says.
    void setEncoding(Encoding encoding) { m_encoding = encoding; }

    // Slots whose text changed since the last call, so that a board can
    // update just those.
    std::bitset<SlotKey::SlotCount + 1> takeChangedSlots();

    // The slot a key names in this window, or 0 when it names none. Keys
    // carry no year, so a key matches its month and day in any year.
    int slotForKey(QByteArrayView key) const;

private:
    std::array<QByteArray, 10> m_columnMonthDays;
    std::array<QString, SlotKey::SlotCount + 1> m_slots;
    std::bitset<SlotKey::SlotCount + 1> m_changed;
    int m_namingMode;
    Encoding m_encoding = Encoding::Cp932;
};
