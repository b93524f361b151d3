#include "board/BookingReplay.h"

#include "board/BookingRecord.h"
#include "board/Cp932.h"
#include "board/DateWindow.h"
#include "board/NamingMode.h"

BookingReplay::BookingReplay(const DateWindow &window, int namingMode)
    : m_namingMode(namingMode)
{
    for (int column = 0; column < DateWindow::ColumnCount; ++column)
        m_columnMonthDays[column] = window.monthDay(DateWindow::dateIndexOfColumn(column)).toLatin1();
}

int BookingReplay::slotForKey(QByteArrayView key) const
{
    // Keys are ASCII, and no byte of a two-byte CP932 character is an ASCII
    // digit or "/", so comparing bytes is comparing characters.
    if (key.size() < 5)
        return 0;
    const QByteArrayView monthDay = key.first(5);
    int column = -1;
    for (int c = 0; c < DateWindow::ColumnCount; ++c) {
        if (monthDay == m_columnMonthDays[c]) {
            column = c;
            break;
        }
    }
    // Weekend dates, 29 February from a leap year and dates outside the
    // window have no column: matching by equality rather than by range also
    // keeps a window across New Year working.
    if (column < 0)
        return 0;

    const char last = key.back();
    const int number = (last >= '0' && last <= '9') ? last - '0' : 0;
    // 7…9 would run into the next day's column.
    if (number > 6)
        return 0;
    return SlotKey::slotIndex(column, SlotKey::positionOfSlotNumber(number));
}

void BookingReplay::addLine(QByteArrayView line)
{
    const auto record = BookingRecord::parse(line);
    if (!record)
        return;
    const int slot = slotForKey(record->key);
    if (slot == 0)
        return;
    QString text = m_encoding == Encoding::Cp932
        ? Cp932::decode(record->text)
        : QString::fromUtf8(record->text);
    m_namingMode = NamingMode::afterText(text, m_namingMode);
    setSlotText(slot, text);
}

void BookingReplay::clearSlots()
{
    for (int slot = 1; slot <= SlotKey::SlotCount; ++slot)
        setSlotText(slot, QString());
}

void BookingReplay::setSlotText(int slot, const QString &text)
{
    if (m_slots[slot] == text)
        return;
    m_slots[slot] = text;
    m_changed.set(slot);
}

std::bitset<SlotKey::SlotCount + 1> BookingReplay::takeChangedSlots()
{
    const auto changed = m_changed;
    m_changed.reset();
    return changed;
}
