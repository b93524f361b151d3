#pragma once

#include <QString>

class DateWindow;

// Slots are numbered p = 1…70, down each day column and on to the next:
// p = 7 × column + position, position 1…7 within the day.
namespace SlotKey {

constexpr int SlotCount = 70;
constexpr int SlotsPerDay = 7;

int column(int slot);
int position(int slot);
int slotIndex(int column, int position);

// The digit stored in the file: positions 1…6 as themselves, the seventh
// (after lessons) as 0.
int slotNumber(int slot);
// The inverse: 0 is the seventh position.
int positionOfSlotNumber(int number);

// The slot beside slot on the board as drawn: columnStep days to the right
// (right of the first Friday is the second Monday), positionStep lessons
// down. A step off the board stays on slot.
int neighbour(int slot, int columnStep, int positionStep);

// "mm/dd-N", the key of a slot's records in the booking file.
QString make(const DateWindow &window, int slot);

} // namespace SlotKey
