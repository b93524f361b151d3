#include "board/BoardPrint.h"

#include "widgets/JapaneseFont.h"

#include <QAction>
#include <QCoreApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QToolButton>

namespace BoardPrint {

namespace {

// Page units are tenths of a millimetre: a printed page is measured in
// millimetres, and whole units still place a line to a printer's dot.
constexpr qreal UnitsPerInch = 254.0;

constexpr qreal TitleHeight = 180;
constexpr qreal HeadingHeight = 120;
constexpr qreal NumberWidth = 160;
// The slot after lessons stands a little apart, as on the board.
constexpr qreal AfterLessonsGap = 30;
constexpr qreal CellPadding = 25;
constexpr qreal ThinLine = 2.5;
constexpr qreal ThickLine = 5;

// The board's faces at a size on paper: a point is 1/72 inch whatever the
// printer's resolution.
QFont onPaper(QFont font, qreal points)
{
    font.setPixelSize(qRound(points * UnitsPerInch / 72));
    return font;
}

QFont proportional(qreal points)
{
    return onPaper(JapaneseFont::proportional(points), points);
}

QString monthDay(QDate date)
{
    return QStringLiteral("%1/%2").arg(date.month()).arg(date.day());
}

QString period(QDate first, QDate last)
{
    const QString end = first.year() == last.year() ? QString() : QStringLiteral("%1年").arg(last.year());
    return QStringLiteral("%1年%2月%3日 〜 %4%5月%6日")
        .arg(first.year())
        .arg(first.month())
        .arg(first.day())
        .arg(end)
        .arg(last.month())
        .arg(last.day());
}

// A caption too long for one line breaks where the board's texts part the
// class from the subject, at the ideographic space, not inside a word. One
// that the board shows broken already keeps its break.
QString captionLines(const QString &text, const QFontMetricsF &metrics, qreal width)
{
    static const QRegularExpression parting(QStringLiteral("\\x{3000}+"));
    const QRegularExpressionMatch match = parting.match(text);
    if (text.contains(QLatin1Char('\n')) || metrics.horizontalAdvance(text) <= width || !match.hasMatch())
        return text;
    return text.left(match.capturedStart()) + QLatin1Char('\n') + text.mid(match.capturedEnd());
}

// One week, week 0 or 1, within `area` in page units.
void drawWeek(QPainter &painter, const QRectF &area, const Sheet &sheet, int week)
{
    const int firstColumn = week * 5;
    const QDate first = sheet.dates[DateWindow::dateIndexOfColumn(firstColumn) - 1];
    const QDate last = sheet.dates[DateWindow::dateIndexOfColumn(firstColumn + 4) - 1];

    const QRectF title(area.left(), area.top(), area.width(), TitleHeight);
    painter.setFont(proportional(34));
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, sheet.roomName);
    painter.setFont(proportional(17));
    painter.drawText(title, Qt::AlignRight | Qt::AlignVCenter, period(first, last));

    const qreal gridTop = title.bottom() + 20;
    const qreal rowsTop = gridTop + HeadingHeight;
    const qreal columnWidth = (area.width() - NumberWidth) / 5;
    const qreal rowHeight = (area.bottom() - rowsTop - AfterLessonsGap) / SlotKey::SlotsPerDay;
    const auto rowTop = [&](int position) {
        return rowsTop + (position - 1) * rowHeight + (position == SlotKey::SlotsPerDay ? AfterLessonsGap : 0);
    };
    const qreal gridLeft = area.left() + NumberWidth;

    // Slot texts as large as on the screen.
    const QFont caption = onPaper(JapaneseFont::fixed(20.25), 20.25);
    const QFont heading = proportional(20);
    const QFont small = proportional(11);
    painter.setPen(QPen(Qt::black, ThinLine));
    painter.setBrush(Qt::NoBrush);

    for (int position = 1; position <= SlotKey::SlotsPerDay; ++position) {
        const QRectF label(area.left(), rowTop(position), NumberWidth, rowHeight);
        painter.setFont(heading);
        if (position < SlotKey::SlotsPerDay) {
            painter.drawText(label, Qt::AlignCenter, sheet.slotNumbers[position - 1]);
        } else {
            const QRectF upper(label.left(), label.top(), label.width(), label.height() / 2);
            painter.drawText(upper, Qt::AlignHCenter | Qt::AlignBottom, sheet.slotNumbers[position - 1]);
            painter.setFont(small);
            painter.drawText(upper.translated(0, upper.height()), Qt::AlignHCenter | Qt::AlignTop,
                             sheet.afterLessons);
        }
    }

    for (int day = 0; day < 5; ++day) {
        const int column = firstColumn + day;
        const qreal left = gridLeft + day * columnWidth;
        const QRectF head(left, gridTop, columnWidth, HeadingHeight);
        painter.setFont(heading);
        painter.drawText(head, Qt::AlignCenter,
                         monthDay(sheet.dates[DateWindow::dateIndexOfColumn(column) - 1])
                             + sheet.weekdays[column]);
        painter.drawRect(head);
        painter.setFont(caption);
        for (int position = 1; position <= SlotKey::SlotsPerDay; ++position) {
            const QRectF cell(left, rowTop(position), columnWidth, rowHeight);
            painter.drawRect(cell);
            painter.save();
            painter.setClipRect(cell);
            const QRectF inside = cell.adjusted(CellPadding, CellPadding, -CellPadding, -CellPadding);
            painter.drawText(inside, Qt::AlignCenter | Qt::TextWrapAnywhere,
                             captionLines(sheet.captions[SlotKey::slotIndex(column, position)],
                                          QFontMetricsF(caption, painter.device()), inside.width()));
            painter.restore();
        }
    }

    painter.setPen(QPen(Qt::black, ThickLine));
    painter.drawRect(QRectF(gridLeft, gridTop, 5 * columnWidth, rowTop(SlotKey::SlotsPerDay) - gridTop));
    painter.drawRect(QRectF(gridLeft, rowTop(SlotKey::SlotsPerDay), 5 * columnWidth, rowHeight));
}

} // namespace

QPageLayout pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

void print(QPagedPaintDevice &device, const Sheet &sheet)
{
    // The painter starts at the printable area's corner, in the device's dots.
    const QSizeF paint = device.pageLayout().paintRect(QPageLayout::Millimeter).size() * 10;
    QPainter painter(&device);
    painter.scale(device.logicalDpiX() / UnitsPerInch, device.logicalDpiY() / UnitsPerInch);
    for (int week = 0; week < 2; ++week) {
        if (week > 0)
            device.newPage();
        drawWeek(painter, QRectF(QPointF(0, 0), paint), sheet, week);
    }
}

void preview(const Sheet &sheet, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout());
    printer.setDocName(sheet.roomName);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printPreview"));
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー（%1）").arg(sheet.roomName));
    // Room for a page at a zoom that can be read, on a school's small laptop too.
    dialog.resize(900, 640);
    // Qt keeps the preview's tool buttons out of the focus chain: a teacher
    // without a mouse reaches them by Tab, and prints with Ctrl+P again.
    for (QToolButton *button : dialog.findChildren<QToolButton *>())
        button->setFocusPolicy(Qt::TabFocus);
    const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction *action : dialog.findChildren<QAction *>()) {
        if (action->text() == printText)
            action->setShortcut(QKeySequence::Print);
    }
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&sheet](QPrinter *target) { print(*target, sheet); });
    dialog.exec();
}

} // namespace BoardPrint
