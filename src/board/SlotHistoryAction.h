#pragma once

#include "core/BoardSession.h"
#include "core/SlotKey.h"

#include <QObject>
#include <array>

struct BoardView;
class QWidget;
class WrappingButton;

// A slot's history, on a right-click or the context-menu key on its button,
// and a clearing undone from there. The history is read from the file only
// then; the undo goes through the session like any booking, and the board
// shows what came of it.
class SlotHistoryAction : public QObject
{
public:
    // buttons[1…70] are the board's slot buttons.
    SlotHistoryAction(const std::array<WrappingButton *, SlotKey::SlotCount + 1> &buttons,
                      BoardSession &session, const BoardView &view, QWidget *board);

private:
    void show(int slot);

    BoardSession &m_session;
    const BoardView &m_view;
    QWidget *m_board;
};
