#pragma once

#include <QStringView>

// The naming mode shared by the board and the class dialog: 1 means numbered
// classes (labels such as １-２), anything else lettered ones (１Ａ).
namespace NamingMode {

constexpr int Lettered = 0;
constexpr int Numbered = 1;

// The mode after replaying a slot text: numbered labels carry "-" as their
// second character. Texts that cannot tell (the grade "その他", or a lone
// ideographic space) leave the mode as it was.
int afterText(QStringView text, int current);

} // namespace NamingMode
