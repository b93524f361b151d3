#pragma once

#include "widgets/FocusFrameButton.h"

#include <QStringList>

class QTextLayout;

// A push button whose caption wraps within the button and is cut off at its
// edges, as slot texts such as "１-２　数学" need two lines. A line holds as
// many whole full-width characters of the button's font as fit: three on a
// slot button.
class WrappingButton : public FocusFrameButton
{
    Q_OBJECT
public:
    WrappingButton(const QString &objectName, const QString &text, QWidget *parent);

    // Shows text, with a line ending after its first breakAfter characters
    // if there are more: right after a booking the caption is the class
    // label and the subject joined, and the label keeps a line of its own,
    // as in the stored text, where an ideographic space parts the two.
    void setCaption(const QString &text, int breakAfter = -1);

protected:
    void paintEvent(QPaintEvent *event) override;
    // Enter presses the focused button, as everywhere on Windows; Space
    // already does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRect captionArea() const;
    qreal lineWidth() const;
    // The caption broken into lines of lineWidth(), each centred on it.
    void layOut(QTextLayout &layout) const;

    int m_breakAfter = -1;
};
