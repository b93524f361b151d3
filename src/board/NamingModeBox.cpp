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

void NamingModeBox::showMode(NamingMode mode)
{
    setCheckState(mode == NamingMode::Numbered                         ? Qt::Checked
                  : mode == NamingMode::LetteredAfterCancelledClearing ? Qt::PartiallyChecked
                                                                       : Qt::Unchecked);
}
