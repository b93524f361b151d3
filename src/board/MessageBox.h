#pragma once

#include <QString>

class QWidget;

// Every message the board shows goes through here, so that tests find the
// boxes as the active modal widget and answer them.
namespace MessageBox {

// OK and Cancel, OK the default, no icon: true for OK. Closing the box
// counts as Cancel.
bool confirm(QWidget *parent, const QString &text);

// A failure the user must know of: an OK button and the warning icon.
void error(QWidget *parent, const QString &text);

// A short notice with an OK button.
void notice(QWidget *parent, const QString &text);

} // namespace MessageBox
