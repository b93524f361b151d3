#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

// The board is laid out absolutely, in twips from the top-left corner of the
// window's client area, as it was designed; on screen one pixel is 15 twips.
// Nothing moves when the window changes size.
namespace BoardLayout {

constexpr int TwipsPerPixel = 15;

struct Twips
{
    int left;
    int top;
    int width;
    int height;
};

struct Placement
{
    QString objectName;
    Twips rect;
};

QRect toPixels(const Twips &rect);

// The client area at design size.
QSize clientSize();

Twips slot(int slot);        // slot 1…70
Twips dayNumber(int column); // the day-of-month label above column 0…9
Twips weekday(int column);   // the weekday label above column 0…9

// Every visible control of the board and the authorship notice, each under
// the object name the window gives it.
const std::vector<Placement> &placements();

} // namespace BoardLayout
