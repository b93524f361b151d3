#pragma once

#include "core/BoardView.h"
#include "core/SlotKey.h"

#include <array>

class NamingModeBox;
class QWidget;
class WrappingButton;

// The board's window as the session sees it: slot buttons and the box A
// repainted from what the session tells, its messages and questions as
// modal windows over the board.
class BoardScreen
{
public:
    // buttons[1…70] are the board's slot buttons.
    BoardScreen(QWidget *board, const std::array<WrappingButton *, SlotKey::SlotCount + 1> &buttons,
                NamingModeBox *mode);
    // The view's callables hold this screen's address.
    Q_DISABLE_COPY_MOVE(BoardScreen)

    void showOutcome(const BoardSession::Result &result);
    // What the session is handed for a click or an undo.
    const BoardView &view() const { return m_view; }

private:
    BoardView::ClassAnswer openClassMenu(NamingMode mode);
    bool confirmClearing();

    QWidget *m_board;
    const std::array<WrappingButton *, SlotKey::SlotCount + 1> &m_slots;
    NamingModeBox *m_mode;
    BoardView m_view;
};
