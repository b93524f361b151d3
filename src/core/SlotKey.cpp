#include "core/SlotKey.h"

#include "core/DateWindow.h"

namespace SlotKey {

int column(int slot)
{
    Q_ASSERT(slot >= 1 && slot <= SlotCount);
    return (slot - 1) / SlotsPerDay;
}

int position(int slot)
{
    Q_ASSERT(slot >= 1 && slot <= SlotCount);
    return (slot - 1) % SlotsPerDay + 1;
}

int slotIndex(int column, int position)
{
    return SlotsPerDay * column + position;
}

int slotNumber(int slot)
{
    return slot % SlotsPerDay;
}

int positionOfSlotNumber(int number)
{
    return number == 0 ? SlotsPerDay : number;
}

int neighbour(int slot, int columnStep, int positionStep)
{
    const int toColumn = column(slot) + columnStep;
    const int toPosition = position(slot) + positionStep;
    const bool onBoard = toColumn >= 0 && toColumn < SlotCount / SlotsPerDay && toPosition >= 1
        && toPosition <= SlotsPerDay;
    if (!onBoard)
        return slot;
    return slotIndex(toColumn, toPosition);
}

QString make(const DateWindow &window, int slot)
{
    const int dateIndex = DateWindow::dateIndexOfColumn(column(slot));
    return window.monthDay(dateIndex) + QLatin1Char('-') + QString::number(slotNumber(slot));
}

} // namespace SlotKey
