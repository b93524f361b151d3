#include "widgets/AppIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QtMath>

namespace AppIcon {

namespace {

constexpr int DesignWidth = 64;
constexpr int DesignHeight = 45;

// Paints the design `scale` times its size, `top` pixels down, every edge on
// a whole pixel so that nothing blurs. Borders grow with the scale; on cells
// too small to hold one they are left out rather than eating the cell.
void paint(QPainter &p, qreal scale, qreal top)
{
    const auto snap = [](qreal v) { return qRound(v); };
    const int borderWidth = qMax(1, qRound(scale));
    for (const Shape &shape : design()) {
        const QRectF r(shape.rect.x() * scale, shape.rect.y() * scale + top,
                       shape.rect.width() * scale, shape.rect.height() * scale);
        const int left = snap(r.left());
        const int right = qMax(left + 1, snap(r.right()));
        const int upper = snap(r.top());
        const int lower = qMax(upper + 1, snap(r.bottom()));
        const QRect pixels(left, upper, right - left, lower - upper);
        if (shape.border.isValid() && qMin(pixels.width(), pixels.height()) >= 6 * borderWidth) {
            p.fillRect(pixels, shape.border);
            p.fillRect(pixels.adjusted(borderWidth, borderWidth, -borderWidth, -borderWidth), shape.colour);
        } else {
            p.fillRect(pixels, shape.colour);
        }
    }
}

} // namespace

QList<Shape> design()
{
    const QColor white(255, 255, 255);
    // Header band with two rings, as on a wall calendar.
    QList<Shape> shapes{
        {QRect(0, 0, 64, 45), white},
        {QRect(0, 0, 64, 9), QColor(32, 86, 160)},
        {QRect(8, 2, 3, 5), white},
        {QRect(53, 2, 3, 5), white},
    };
    // Five day columns of three rows, a few of them booked.
    const QColor grid(120, 120, 120);
    const QColor booked(236, 140, 40);
    const QColor free(230, 238, 248);
    for (int col = 0; col < 5; ++col) {
        for (int row = 0; row < 3; ++row) {
            const bool isBooked = (col + 2 * row) % 4 == 1;
            shapes.append({QRect(3 + col * 12, 12 + row * 11, 10, 9), isBooked ? booked : free, grid});
        }
    }
    return shapes;
}

QImage image()
{
    // 24-bit colour, no alpha: the executable icon is specified that way.
    QImage img(DesignWidth, DesignHeight, QImage::Format_RGB888);
    QPainter p(&img);
    paint(p, 1, 0);
    p.end();
    return img;
}

QIcon icon()
{
    return QIcon(QPixmap::fromImage(image()));
}

QImage square(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    const qreal scale = qreal(size) / DesignWidth;
    QPainter p(&img);
    paint(p, scale, qFloor((size - DesignHeight * scale) / 2));
    p.end();
    return img;
}

QByteArray svg()
{
    const int top2 = DesignWidth - DesignHeight; // twice the margin above
    QByteArray out = QByteArrayLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" ")
        + "width=\"" + QByteArray::number(DesignWidth) + "\" height=\"" + QByteArray::number(DesignWidth)
        + "\" viewBox=\"0 0 " + QByteArray::number(DesignWidth) + ' ' + QByteArray::number(DesignWidth)
        + "\">\n<g transform=\"translate(0 " + QByteArray::number(top2 / 2.0) + ")\" shape-rendering=\"crispEdges\">\n";
    const auto rect = [&out](const QRect &r, const QColor &colour) {
        out += "<rect x=\"" + QByteArray::number(r.x()) + "\" y=\"" + QByteArray::number(r.y())
            + "\" width=\"" + QByteArray::number(r.width()) + "\" height=\"" + QByteArray::number(r.height())
            + "\" fill=\"" + colour.name().toLatin1() + "\"/>\n";
    };
    for (const Shape &shape : design()) {
        if (shape.border.isValid()) {
            rect(shape.rect, shape.border);
            rect(shape.rect.adjusted(1, 1, -1, -1), shape.colour);
        } else {
            rect(shape.rect, shape.colour);
        }
    }
    return out + "</g>\n</svg>\n";
}

} // namespace AppIcon
