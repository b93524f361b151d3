#include "board/SlotHistoryAction.h"

#include "board/MessageBox.h"
#include "board/SlotHistoryDialog.h"
#include "board/WrappingButton.h"
#include "core/BoardView.h"

SlotHistoryAction::SlotHistoryAction(const std::array<WrappingButton *, SlotKey::SlotCount + 1> &buttons,
                                     BoardSession &session, const BoardView &view, QWidget *board)
    : QObject(board)
    , m_session(session)
    , m_view(view)
    , m_board(board)
{
    for (int p = 1; p <= SlotKey::SlotCount; ++p) {
        buttons[p]->setContextMenuPolicy(Qt::CustomContextMenu);
        buttons[p]->setAccessibleDescription(QStringLiteral("アプリケーションキーで履歴を表示"));
        connect(buttons[p], &QWidget::customContextMenuRequested, this, [this, p] { show(p); });
    }
}

// The dialog is closed before anything is booked, so that a refusal speaks
// over the board, not over a history that no longer holds.
void SlotHistoryAction::show(int slot)
{
    QString error;
    const auto entries = m_session.history(slot, &error);
    if (!entries) {
        MessageBox::error(m_board, error);
        return;
    }
    SlotHistoryDialog dialog(m_session.slotName(slot), *entries, m_board);
    QString text;
    connect(&dialog, &SlotHistoryDialog::rebookRequested, this, [&text](const QString &chosen) { text = chosen; });
    if (dialog.exec() == QDialog::Accepted && !text.isEmpty())
        m_view.repaint(m_session.rebook(slot, text));
}
