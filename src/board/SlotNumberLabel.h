#pragma once

#include "board/BoardLabel.h"

// The column of slot numbers beside each week: a label one character wide
// whose caption wraps one character to a line, ideographic spaces included,
// so that each digit stands level with its row of slots. Lines are set at
// the font's em height, as the board was designed, whatever line spacing the
// installed face asks for.
class SlotNumberLabel : public BoardLabel
{
    Q_OBJECT
public:
    SlotNumberLabel(const QString &objectName, const QString &text, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
