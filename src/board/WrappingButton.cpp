#include "board/WrappingButton.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr QChar FullWidthSpace(0x3000);
constexpr QChar WordJoiner(0x2060);

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

// Qt's line breaking: between any two Japanese characters, after a space,
// between words; spaces at a line's end take no room; a word wider than a
// line is cut where it reaches the edge.
void WrappingButton::layOut(QTextLayout &layout) const
{
    // Qt never ends a line that holds only spaces, but a caption may begin
    // with spaces (a label of spaces alone) that must end their line when
    // the word after them does not fit; a word joiner, drawn as nothing,
    // gives such a line its content.
    QString text = WordJoiner + this->text();
    if (m_breakAfter > 0 && m_breakAfter < this->text().size())
        text.insert(1 + m_breakAfter, QString(QChar::LineSeparator) + WordJoiner);
    layout.setText(text);
    layout.setFont(font());
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qreal width = lineWidth();
    const QFontMetricsF metrics(font());
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        // Baselines one line of the button's font apart: the joiner and the
        // separator have no glyph in it, and the font Qt takes them from
        // would otherwise set its line a pixel lower.
        const qreal baseline = metrics.height() * line.lineNumber() + metrics.ascent();
        line.setPosition(QPointF(0, baseline - line.ascent()));
    }
    layout.endLayout();
}

void WrappingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    // The lines as a block, centred both ways and cut off at the edges.
    QTextLayout layout;
    layOut(layout);
    const QRectF area = captionArea();
    const QSizeF block(lineWidth(), QFontMetricsF(font()).height() * layout.lineCount());
    painter.save();
    painter.setClipRect(area);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::ButtonText));
    layout.draw(&painter, area.center() - QPointF(block.width(), block.height()) / 2);
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
