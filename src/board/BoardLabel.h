#pragma once

#include <QLabel>

// A label of the board: top-aligned, wrapping within its fixed rectangle and
// cut off at its lower edge, opaque in the surface colour or transparent.
// It keeps its own mouse events, so that a double-click on any label, even a
// transparent one, never counts as a double-click on the window's surface.
class BoardLabel : public QLabel
{
    Q_OBJECT
public:
    enum Background { Opaque, Transparent };

    BoardLabel(const QString &objectName, const QString &text, Background background,
               Qt::Alignment horizontal, QWidget *parent);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
