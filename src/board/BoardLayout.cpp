#include "board/BoardLayout.h"

#include "core/SlotKey.h"

namespace BoardLayout {

namespace {

constexpr int SlotWidth = 1455;
constexpr int SlotHeight = 975;
constexpr int LabelWidth = 1335;

// The second week's block stands 1080 further right than the column pitch
// gives, leaving room for its slot numbers.
int slotColumnLeft(int column)
{
    return 1440 * (column + 1) + (column >= 5 ? 1080 : 0);
}

// The seventh row (after lessons) is set 120 lower than the row pitch.
int slotRowTop(int position)
{
    return position == 7 ? 8880 : 3000 + 960 * (position - 1);
}

constexpr int DayNumberLeft[10] = {1440, 2880, 4440, 5760, 7200, 9840, 11160, 12600, 14040, 15480};
constexpr int WeekdayLeft[10] = {1440, 3000, 4440, 5760, 7200, 9720, 11280, 12720, 14040, 15480};

} // namespace

QSize clientSize()
{
    return Twips::pixelSize(19665, 13305);
}

Twips slot(int slot)
{
    return {slotColumnLeft(SlotKey::column(slot)), slotRowTop(SlotKey::position(slot)),
            SlotWidth, SlotHeight};
}

Twips dayNumber(int column)
{
    return {DayNumberLeft[column], 2040, LabelWidth, 495};
}

Twips weekday(int column)
{
    return {WeekdayLeft[column], 2640, LabelWidth, 375};
}

} // namespace BoardLayout
