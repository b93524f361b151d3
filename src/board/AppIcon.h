#pragma once

#include <QIcon>
#include <QImage>

// The program's one image: a small booking grid, 64 × 45 pixels, used by the
// board, the class dialog and (as a file) the desktop launcher.
namespace AppIcon {

QImage image();
QIcon icon();

} // namespace AppIcon
