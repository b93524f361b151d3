#pragma once

#include <QPushButton>

// A push button that shows plainly when it has the keyboard focus: a frame
// in the highlight colour inside its edge, drawn whenever the focus came
// from a key (Tab, an arrow, or any key pressed while it had the focus) and
// never after a mouse click. Neighbouring slot buttons overlap by a pixel,
// so the frame leaves the outermost pixel alone.
class FocusFrameButton : public QPushButton
{
    Q_OBJECT
public:
    static constexpr int FrameWidth = 3;

    FocusFrameButton(const QString &text, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

    // For subclasses that paint the button themselves.
    void paintFocusFrame(QPainter &painter) const;
};
