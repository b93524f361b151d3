#include "board/SlotNumberLabel.h"

#include <QPainter>

SlotNumberLabel::SlotNumberLabel(const QString &objectName, const QString &text, QWidget *parent)
    : BoardLabel(objectName, text, Opaque, Qt::AlignLeft, parent)
{
}

void SlotNumberLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const int lineHeight = font().pixelSize();
    int top = 0;
    for (const QChar c : text()) {
        if (top >= height())
            break;
        painter.drawText(QRect(0, top, width(), lineHeight), Qt::AlignLeft | Qt::AlignTop, QString(c));
        top += lineHeight;
    }
}
