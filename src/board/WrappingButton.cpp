#include "board/WrappingButton.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace {

constexpr QChar FullWidthSpace(0x3000);

QString withoutTrailingSpaces(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end);
}

// Greedy: each line takes as much as fits up to a place where the line
// breaking rules allow a break (between any two Japanese characters, after
// a space, between words). Spaces at a line's end take no room. A word
// wider than a line is cut where it reaches the edge.
QStringList wrapPart(const QString &text, const QFontMetricsF &metrics, qreal width)
{
    const auto fits = [&](qsizetype from, qsizetype to) {
        return metrics.horizontalAdvance(withoutTrailingSpaces(text.mid(from, to - from)))
            <= width + 0.01;
    };
    QList<qsizetype> breaks;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        breaks << at;

    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = -1;
        for (qsizetype at : std::as_const(breaks)) {
            if (at <= start)
                continue;
            if (!fits(start, at))
                break;
            end = at;
        }
        if (end < 0) {
            end = start + 1;
            while (end < text.size() && fits(start, end + 1))
                ++end;
        }
        lines << withoutTrailingSpaces(text.mid(start, end - start));
        start = end;
    }
    return lines;
}

} // namespace

WrappingButton::WrappingButton(const QString &objectName, const QString &text, QWidget *parent)
    : FocusFrameButton(text, parent)
{
    setObjectName(objectName);
    // Inside a dialog-less window a button must not turn default on focus and
    // swallow Enter for another one.
    setAutoDefault(false);
}

void WrappingButton::setCaption(const QString &text, int breakAfter)
{
    m_breakAfter = breakAfter;
    setText(text);
    update();
}

QStringList WrappingButton::wrap(const QString &text, int breakAfter, const QFontMetricsF &metrics,
                                 qreal width)
{
    if (breakAfter <= 0 || breakAfter >= text.size())
        return wrapPart(text, metrics, width);
    return wrapPart(text.left(breakAfter), metrics, width)
        + wrapPart(text.mid(breakAfter), metrics, width);
}

QRect WrappingButton::captionArea() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

qreal WrappingButton::lineWidth() const
{
    const QFontMetricsF metrics(font());
    const qreal character = metrics.horizontalAdvance(FullWidthSpace);
    const qreal columns = std::max(1.0, std::floor(captionArea().width() / character));
    return columns * character;
}

QStringList WrappingButton::lines() const
{
    return wrap(text(), m_breakAfter, QFontMetricsF(font()), lineWidth());
}

void WrappingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    // The lines as a block, centred both ways and cut off at the edges.
    const QRectF area = captionArea();
    const QFontMetricsF metrics(font());
    const QStringList shown = lines();
    const qreal height = metrics.height() * shown.size();
    qreal top = area.top() + (area.height() - height) / 2;
    painter.save();
    painter.setClipRect(area);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::ButtonText));
    painter.setFont(font()); // whatever the style left set while drawing the button
    for (const QString &line : shown) {
        const qreal left = area.left() + (area.width() - metrics.horizontalAdvance(line)) / 2;
        painter.drawText(QPointF(left, top + metrics.ascent()), line);
        top += metrics.height();
    }
    painter.restore();
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
