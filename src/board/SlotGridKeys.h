#pragma once

#include "core/SlotKey.h"

#include <QObject>
#include <array>

class QWidget;
class WrappingButton;

// The arrow keys move the focus across the slot grid as it is drawn: right of
// the first Friday is the second Monday, and an edge holds the focus. Tab
// keeps the order down each day.
class SlotGridKeys : public QObject
{
    Q_OBJECT
public:
    // buttons[1…70] are the board's slot buttons; it filters their keys.
    SlotGridKeys(const std::array<WrappingButton *, SlotKey::SlotCount + 1> &buttons, QWidget *board);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool moveFocus(int slot, int key);

    std::array<WrappingButton *, SlotKey::SlotCount + 1> m_slots;
    QWidget *m_board;
};
