#pragma once

#include "board/WrappingButton.h"

class BoardSession;

// The board's small print button: the print preview of the two weeks as the
// slots show them when it is pressed. Ctrl+P presses it from anywhere on the
// board.
class PrintButton : public WrappingButton
{
    Q_OBJECT
public:
    PrintButton(const BoardSession &session, QWidget *board);
};
