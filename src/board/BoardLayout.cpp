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

std::vector<Placement> build()
{
    std::vector<Placement> table = {
        {QStringLiteral("RoomName"), {960, 120, 5055, 975}},
        {QStringLiteral("mess"), {6120, 120, 10695, 735}},
        {QStringLiteral("Tuki"), {1320, 1440, 375, 375}},
        {QStringLiteral("Label2"), {1440, 1440, 1095, 975}},
        {QStringLiteral("Label4"), {1080, 3360, 375, 6375}},
        {QStringLiteral("Label3"), {9360, 3360, 375, 6375}},
        {QStringLiteral("Label5"), {840, 9480, 615, 255}},
        {QStringLiteral("Label6"), {9120, 9480, 615, 255}},
        {QStringLiteral("TodayBT"), {17520, 3000, 1455, 1455}},
        {QStringLiteral("NextBT"), {17520, 5160, 1455, 1455}},
        {QStringLiteral("A"), {24720, 1200, 375, 375}},
        {QStringLiteral("YYMMDD_0"), {3360, 1200, 1215, 375}},
        {QStringLiteral("C"), {1200, 1080, 3015, 255}},
    };
    for (int column = 0; column < 10; ++column) {
        table.push_back({QStringLiteral("Hiduke_%1").arg(column), dayNumber(column)});
        table.push_back({QStringLiteral("Label1_%1").arg(column), weekday(column)});
    }
    for (int p = 1; p <= SlotKey::SlotCount; ++p)
        table.push_back({QStringLiteral("PCclass_%1").arg(p), slot(p)});
    return table;
}

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

const std::vector<Placement> &placements()
{
    static const std::vector<Placement> table = build();
    return table;
}

} // namespace BoardLayout
