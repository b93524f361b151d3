#include "widgets/FocusFrameButton.h"

#include <QEvent>
#include <QPainter>

FocusFrameButton::FocusFrameButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
}

void FocusFrameButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    paintFocusFrame(painter);
}

void FocusFrameButton::paintFocusFrame(QPainter &painter) const
{
    // Qt sets the attribute on the window when Tab moves the focus; any key
    // pressed on a button sets it too, a mouse press clears it.
    if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    const QRect r = rect().adjusted(1, 1, -1, -1);
    const QColor colour = palette().color(QPalette::Active, QPalette::Highlight);
    const int w = FrameWidth;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), w), colour);
    painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), colour);
    painter.fillRect(QRect(r.left(), r.top(), w, r.height()), colour);
    painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), colour);
}

bool FocusFrameButton::event(QEvent *event)
{
    // The focus given at start-up becomes visible with the first key.
    if (event->type() == QEvent::KeyPress && !window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        window()->setAttribute(Qt::WA_KeyboardFocusChange);
        update();
    }
    return QPushButton::event(event);
}

void FocusFrameButton::mousePressEvent(QMouseEvent *event)
{
    window()->setAttribute(Qt::WA_KeyboardFocusChange, false);
    QPushButton::mousePressEvent(event);
}
