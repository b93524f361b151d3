#include "board/NamingModeBox.h"

NamingModeBox::NamingModeBox(QWidget *parent)
    : QCheckBox(parent)
{
    setObjectName(QStringLiteral("A"));
    setTristate(true);
    setCheckState(Qt::Unchecked);
    // A button fills its background with the button colour, grey; this box
    // is white like the window it was placed on.
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, QColor(255, 255, 255));
    white.setColor(QPalette::Base, QColor(255, 255, 255));
    setPalette(white);
}

int NamingModeBox::value() const
{
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

void NamingModeBox::setValue(int value)
{
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void NamingModeBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}
