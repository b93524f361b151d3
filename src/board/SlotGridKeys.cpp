#include "board/SlotGridKeys.h"

#include "board/WrappingButton.h"

#include <QKeyEvent>

#include <algorithm>

SlotGridKeys::SlotGridKeys(const std::array<WrappingButton *, SlotKey::SlotCount + 1> &buttons,
                           QWidget *board)
    : QObject(board)
    , m_slots(buttons)
    , m_board(board)
{
    for (int p = 1; p <= SlotKey::SlotCount; ++p)
        m_slots[p]->installEventFilter(this);
}

bool SlotGridKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto found = std::find(m_slots.begin() + 1, m_slots.end(), watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (found != m_slots.end() && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
            return moveFocus(static_cast<int>(found - m_slots.begin()), key->key());
    }
    return QObject::eventFilter(watched, event);
}

bool SlotGridKeys::moveFocus(int slot, int key)
{
    const int columnStep = key == Qt::Key_Right ? 1 : key == Qt::Key_Left ? -1 : 0;
    const int positionStep = key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
    if (columnStep == 0 && positionStep == 0)
        return false;
    // A focus moved by a key is shown, also when it stays at an edge.
    m_board->setAttribute(Qt::WA_KeyboardFocusChange);
    m_slots[slot]->update();
    m_slots[SlotKey::neighbour(slot, columnStep, positionStep)]->setFocus(Qt::TabFocusReason);
    return true;
}
