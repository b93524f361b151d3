#include "widgets/JapaneseFont.h"

#include <QStringList>
#include <cmath>

namespace {

QFont make(const QStringList &families, double points)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(JapaneseFont::pixelSizeForPoints(points));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

namespace JapaneseFont {

int pixelSizeForPoints(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont proportional(double points)
{
    return make({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                 QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")},
                points);
}

QFont fixed(double points)
{
    return make({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                 QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                 QStringLiteral("Noto Sans CJK JP")},
                points);
}

} // namespace JapaneseFont
