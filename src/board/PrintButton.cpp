#include "board/PrintButton.h"

#include "board/BoardSheet.h"

PrintButton::PrintButton(const BoardSession &session, QWidget *board)
    : WrappingButton(QStringLiteral("PrintBT"), QStringLiteral("印刷"), board)
{
    setAccessibleName(QStringLiteral("２週間の予約を印刷"));
    setToolTip(QStringLiteral("表示中の２週間を印刷、またはPDFに保存します（Ctrl+P）"));
    setShortcut(QKeySequence::Print);
    connect(this, &QPushButton::clicked, this,
            [&session, board] { BoardPrint::preview(BoardSheet::of(session), board); });
}
