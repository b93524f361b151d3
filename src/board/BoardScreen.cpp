#include "board/BoardScreen.h"

#include "board/BoardTexts.h"
#include "board/MessageBox.h"
#include "board/NamingModeBox.h"
#include "board/WrappingButton.h"
#include "classmenu/ClassMenu.h"

BoardScreen::BoardScreen(QWidget *board,
                         const std::array<WrappingButton *, SlotKey::SlotCount + 1> &buttons,
                         NamingModeBox *mode)
    : m_board(board)
    , m_slots(buttons)
    , m_mode(mode)
    , m_view{[this](const BoardSession::Result &result) { showOutcome(result); },
             [this](NamingMode naming) { return openClassMenu(naming); },
             [this] { return confirmClearing(); }}
{
}

// The slots first, so that a message speaks of what is shown.
void BoardScreen::showOutcome(const BoardSession::Result &result)
{
    for (const BoardSession::ShownSlot &shown : result.changedSlots) {
        m_slots[shown.slot]->setCaption(shown.caption.text, shown.caption.breakAfter);
        m_slots[shown.slot]->setAccessibleName(shown.spoken);
    }
    m_mode->showMode(result.namingMode);
    if (result.outcome == BoardSession::Result::Outcome::Notice)
        MessageBox::notice(m_board, result.message);
    else if (result.outcome == BoardSession::Result::Outcome::Error)
        MessageBox::error(m_board, result.message);
}

BoardView::ClassAnswer BoardScreen::openClassMenu(NamingMode mode)
{
    ClassMenu menu(mode, m_board);
    menu.exec();
    return {menu.namingMode(), menu.classLabel(), menu.subject()};
}

bool BoardScreen::confirmClearing()
{
    return MessageBox::confirm(m_board, BoardTexts::ClearQuestion);
}
