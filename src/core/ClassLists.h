#pragma once

#include "core/NamingMode.h"

#include <QString>
#include <QStringList>

// The entries of the class dialog's three lists. The texts are matched code
// point for code point later on (the class label takes characters from them,
// the toggle is recognised by its text), so they live in one place.
namespace ClassLists {

// Grades, including the two blank entries that stand for "no grade".
QStringList gradeEntries();

// Subjects; the first entry is blank and stands for "no subject".
QStringList subjectEntries();

// The twelve class entries: a lone space, nine classes numbered (１組 …) when
// namingMode is NamingMode::Numbered and lettered (Ａ組 …) otherwise, a blank
// entry and the toggle entry.
QStringList classEntries(NamingMode namingMode);

// The class entry that switches between numbered and lettered classes.
QString toggleEntry();

} // namespace ClassLists
