#pragma once

#include "widgets/Twips.h"

#include <QSize>
#include <QString>
#include <vector>

// Where every control of the board stands, as it was designed. Nothing moves
// when the window changes size.
namespace BoardLayout {

struct Placement
{
    QString objectName;
    Twips rect;
};

// The client area at design size.
QSize clientSize();

Twips slot(int slot);        // slot 1…70
Twips dayNumber(int column); // the day-of-month label above column 0…9
Twips weekday(int column);   // the weekday label above column 0…9

// Every visible control of the board and the authorship notice, each under
// the object name the window gives it.
const std::vector<Placement> &placements();

} // namespace BoardLayout
