#pragma once

#include "widgets/Twips.h"

#include <QSize>

// Where every control of the board stands, as it was designed. Nothing moves
// when the window changes size.
namespace BoardLayout {

// The client area at design size.
QSize clientSize();

Twips slot(int slot);        // slot 1…70
Twips dayNumber(int column); // the day-of-month label above column 0…9
Twips weekday(int column);   // the weekday label above column 0…9

constexpr Twips RoomName{960, 120, 5055, 975};
constexpr Twips Mess{6120, 120, 10695, 735};
constexpr Twips Tuki{1320, 1440, 375, 375};
constexpr Twips Label2{1440, 1440, 1095, 975};
constexpr Twips Label4{1080, 3360, 375, 6375};
constexpr Twips Label3{9360, 3360, 375, 6375};
constexpr Twips Label5{840, 9480, 615, 255};
constexpr Twips Label6{9120, 9480, 615, 255};
constexpr Twips TodayBT{17520, 3000, 1455, 1455};
constexpr Twips NextBT{17520, 5160, 1455, 1455};
// Small, under the week buttons, its foot level with the slots' last row.
constexpr Twips PrintBT{17520, 9360, 1455, 495};
// Beyond the design width: in view only on a wider window.
constexpr Twips A{24720, 1200, 375, 375};
constexpr Twips YYMMDD0{3360, 1200, 1215, 375};
constexpr Twips C{1200, 1080, 3015, 255};

} // namespace BoardLayout
