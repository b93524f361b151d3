#include "board/BoardSheet.h"

#include "board/BoardTexts.h"
#include "core/BoardSession.h"

namespace BoardSheet {

BoardPrint::Sheet of(const BoardSession &session)
{
    BoardPrint::Sheet sheet;
    sheet.roomName = session.room().shownName();
    for (int i = 0; i < DateWindow::DateCount; ++i)
        sheet.dates[i] = session.window().date(i + 1);
    for (int j = 0; j < DateWindow::ColumnCount; ++j)
        sheet.weekdays[j] = BoardSession::weekdayLabel(j);
    for (int p = 1; p <= SlotKey::SlotCount; ++p) {
        const auto [text, breakAfter] = session.caption(p);
        sheet.captions[p] = breakAfter > 0 && breakAfter < text.size()
            ? text.left(breakAfter) + QLatin1Char('\n') + text.mid(breakAfter)
            : text;
    }
    const QStringList numbers = BoardTexts::SlotNumbers.split(QChar(0x3000), Qt::SkipEmptyParts);
    std::copy_n(numbers.begin(), SlotKey::SlotsPerDay, sheet.slotNumbers.begin());
    sheet.afterLessons = BoardTexts::AfterLessons;
    return sheet;
}

} // namespace BoardSheet
