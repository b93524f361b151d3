#include "board/BoardLabel.h"

#include <QMouseEvent>

BoardLabel::BoardLabel(const QString &objectName, const QString &text, Background background,
                       Qt::Alignment horizontal, QWidget *parent)
    : QLabel(text, parent)
{
    setObjectName(objectName);
    setWordWrap(true);
    setAlignment(horizontal | Qt::AlignTop);
    setMargin(0);
    setIndent(0);
    setAutoFillBackground(background == Opaque);
    setTextFormat(Qt::PlainText);
}

void BoardLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void BoardLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void BoardLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}
