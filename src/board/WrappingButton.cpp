#include "board/WrappingButton.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>

WrappingButton::WrappingButton(const QString &objectName, const QString &text, QWidget *parent)
    : FocusFrameButton(text, parent)
{
    setObjectName(objectName);
    // Inside a dialog-less window a button must not turn default on focus and
    // swallow Enter for another one.
    setAutoDefault(false);
}

void WrappingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QTextOption textOption(Qt::AlignCenter);
    // Japanese wraps between any two characters; Latin at word boundaries
    // where it can.
    textOption.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.setClipRect(area);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::ButtonText));
    painter.setFont(font());
    painter.drawText(QRectF(area), caption, textOption);
    painter.setClipping(false);
    paintFocusFrame(painter);
}

void WrappingButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        animateClick();
        event->accept();
        return;
    }
    FocusFrameButton::keyPressEvent(event);
}
