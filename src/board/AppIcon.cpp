#include "board/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace AppIcon {

QImage image()
{
    // 24-bit colour, no alpha: the executable icon is specified that way.
    QImage img(64, 45, QImage::Format_RGB888);
    img.fill(QColor(255, 255, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Header band, as on a wall calendar.
    p.fillRect(0, 0, 64, 9, QColor(32, 86, 160));
    p.fillRect(8, 2, 3, 5, QColor(255, 255, 255));
    p.fillRect(53, 2, 3, 5, QColor(255, 255, 255));

    // Five day columns of three rows, a few of them booked.
    const QColor grid(120, 120, 120);
    const QColor booked(236, 140, 40);
    for (int col = 0; col < 5; ++col) {
        for (int row = 0; row < 3; ++row) {
            const QRect cell(3 + col * 12, 12 + row * 11, 10, 9);
            const bool isBooked = (col + 2 * row) % 4 == 1;
            p.fillRect(cell, isBooked ? booked : QColor(230, 238, 248));
            p.setPen(grid);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
    p.end();
    return img;
}

QIcon icon()
{
    return QIcon(QPixmap::fromImage(image()));
}

} // namespace AppIcon
