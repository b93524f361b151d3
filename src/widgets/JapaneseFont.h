#pragma once

#include <QFont>

// The board was designed for the Windows faces ＭＳ Ｐゴシック and ＭＳ ゴシック.
// Where they are missing we fall back to metric-compatible IPA faces, then to
// Noto Sans CJK JP, so that texts wrap where the design expects.
namespace JapaneseFont {

// Proportional gothic (ＭＳ Ｐゴシック and its stand-ins) at a point size.
QFont proportional(double points);

// Fixed-pitch gothic (ＭＳ ゴシック and its stand-ins) at a point size.
QFont fixed(double points);

// Point sizes are converted at 96 dots per inch, the resolution the layout
// was drawn for (15 twips per pixel), so text keeps its proportion to the
// controls whatever DPI the screen reports.
int pixelSizeForPoints(double points);

} // namespace JapaneseFont
