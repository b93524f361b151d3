#pragma once

#include "board/BoardLabel.h"

#include <QFont>

// The room's name above the board, on one line across the label's fixed
// width. A name too long for it (コンピュータ室 at the designed 48 points) is
// drawn in a smaller size of the same face, the largest that fits, so that
// the name is never cut; a name that fits keeps the designed size.
class RoomNameLabel : public BoardLabel
{
    Q_OBJECT
public:
    RoomNameLabel(const QFont &designed, QWidget *parent);

    void setName(const QString &name);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fit();

    QFont m_designed;
};
