#pragma once

#include "board/FocusFrameButton.h"

// A push button whose caption wraps within the button and is cut off at its
// edges, as slot texts such as "１-２　数学" need two lines.
class WrappingButton : public FocusFrameButton
{
    Q_OBJECT
public:
    WrappingButton(const QString &objectName, const QString &text, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    // Enter presses the focused button, as everywhere on Windows; Space
    // already does.
    void keyPressEvent(QKeyEvent *event) override;
};
