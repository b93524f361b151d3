#include "core/ClassLabel.h"

#include "core/NamingMode.h"

namespace ClassLabel {

namespace {

constexpr int LabelLength = 3;

// "１年" → "１", "Ａ組" → "Ａ"; anything else (ＪＫ, その他, blanks, the
// space entry) is kept whole and left for the cut to three characters.
QString stripSuffix(const QString &text, QChar suffix)
{
    return text.endsWith(suffix) ? text.left(1) : text;
}

} // namespace

QString compose(NamingMode namingMode, const QString &grade, const QString &cls)
{
    QString label = stripSuffix(grade, QChar(u'年'));
    if (namingMode == NamingMode::Numbered)
        label += QLatin1Char('-');
    label += stripSuffix(cls, QChar(u'組'));
    label += QStringLiteral("\u3000\u3000");
    return label.left(LabelLength);
}

} // namespace ClassLabel
