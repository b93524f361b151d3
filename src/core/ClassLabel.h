#pragma once

#include "core/NamingMode.h"

#include <QString>

// The class label that the class dialog hands to the board: grade and class
// squeezed into exactly three characters (fewer only when both are blank).
namespace ClassLabel {

// grade and cls are the texts of the selected grade and class entries, empty
// when nothing is selected. Numbered mode puts "-" between grade and class,
// so a two-character grade such as ＪＫ loses its class to the cut; a
// missing class or grade is padded with ideographic spaces instead.
QString compose(NamingMode namingMode, const QString &grade, const QString &cls);

} // namespace ClassLabel
