#include "board/RoomNameLabel.h"

#include <QFontMetricsF>

RoomNameLabel::RoomNameLabel(const QFont &designed, QWidget *parent)
    : BoardLabel(QStringLiteral("RoomName"), QString(), Transparent, Qt::AlignLeft, parent)
    , m_designed(designed)
{
    // A second line would fall below the label's edge, out of sight.
    setWordWrap(false);
    setFont(m_designed);
}

void RoomNameLabel::setName(const QString &name)
{
    setText(name);
    fit();
}

void RoomNameLabel::resizeEvent(QResizeEvent *event)
{
    BoardLabel::resizeEvent(event);
    fit();
}

void RoomNameLabel::fit()
{
    QFont font = m_designed;
    const qreal width = contentsRect().width();
    while (font.pixelSize() > 1 && QFontMetricsF(font, this).horizontalAdvance(text()) > width)
        font.setPixelSize(font.pixelSize() - 1);
    setFont(font);
}
