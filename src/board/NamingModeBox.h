#pragma once

#include <QCheckBox>

// The naming-mode flag is a check box with three values: 0 cleared, 1
// checked, 2 grayed (the answer Cancel of a clearing is stored in it).
class NamingModeBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit NamingModeBox(QWidget *parent);

    int value() const;
    void setValue(int value);

protected:
    // A click toggles between cleared and checked; grayed is only ever set
    // by the program.
    void nextCheckState() override;
};
