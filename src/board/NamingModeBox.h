#pragma once

#include "core/NamingMode.h"

#include <QCheckBox>

// The naming mode as a check box: cleared lettered, checked numbered, grayed
// lettered after a cancelled clearing. It shows the board's mode; a click
// asks the board to turn it (clicked()) and changes nothing by itself.
class NamingModeBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit NamingModeBox(QWidget *parent);

    void showMode(NamingMode mode);

protected:
    void nextCheckState() override {}
};
