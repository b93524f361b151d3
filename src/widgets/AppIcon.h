#pragma once

#include <QByteArray>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QRect>

#include <array>

// The program's one image: a small booking grid, 64 × 45 pixels, used by the
// board and the class dialog, and drawn square for the desktop's icon theme.
namespace AppIcon {

// The design: rectangles filled one over the other, in the pixels of the
// 64 × 45 image, some with a border one pixel wide.
struct Shape
{
    QRect rect;
    QColor colour;
    QColor border = QColor(); // none when invalid
};
QList<Shape> design();

// 64 × 45 in 24-bit colour, as the windows show it.
QImage image();
QIcon icon();

// The design scaled to the width of a square of `size` pixels and centred on
// it, the rest transparent; and the same as a scalable SVG drawing.
inline constexpr std::array ThemeSizes{16, 24, 32, 48, 64, 128, 256};
QImage square(int size);
QByteArray svg();

} // namespace AppIcon
