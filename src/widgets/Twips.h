#pragma once

#include <QRect>
#include <QSize>

// Both windows were laid out absolutely, in twips (1/1440 inch) from the
// top-left corner of the client area; on screen one pixel is 15 twips.
struct Twips
{
    static constexpr int PerPixel = 15;

    int left;
    int top;
    int width;
    int height;

    constexpr QRect toPixels() const
    {
        return QRect(left / PerPixel, top / PerPixel, width / PerPixel, height / PerPixel);
    }

    static constexpr QSize pixelSize(int width, int height)
    {
        return QSize(width / PerPixel, height / PerPixel);
    }
};
