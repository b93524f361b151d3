#include "core/ClassLists.h"

#include "core/NamingMode.h"

namespace ClassLists {

QStringList gradeEntries()
{
    return {QStringLiteral("１年"), QStringLiteral("２年"), QStringLiteral("３年"),
            QString(), QString(),
            QStringLiteral("ＪＫ"), QStringLiteral("その他")};
}

QStringList subjectEntries()
{
    return {QString(),
            QStringLiteral("技術"), QStringLiteral("委員会"), QStringLiteral("総合"),
            QStringLiteral("学活"), QStringLiteral("国語"), QStringLiteral("社会"),
            QStringLiteral("数学"), QStringLiteral("理科"), QStringLiteral("英語"),
            QStringLiteral("音楽"), QStringLiteral("美術"), QStringLiteral("保体"),
            QStringLiteral("家庭")};
}

QStringList classEntries(NamingMode namingMode)
{
    // Full-width characters on purpose: the first character of an entry
    // becomes part of the class label and is stored in the booking file.
    const QString classChars = namingMode == NamingMode::Numbered
        ? QStringLiteral("１２３４５６７８９")
        : QStringLiteral("ＡＢＣＤＥＦＧＨＩ");

    QStringList entries;
    entries.reserve(12);
    entries << QStringLiteral(" ");
    for (const QChar ch : classChars)
        entries << ch + QStringLiteral("組");
    entries << QString() << toggleEntry();
    return entries;
}

QString toggleEntry()
{
    // ASCII one, U+21D4, ASCII capital A: not the full-width class characters.
    return QStringLiteral("1\u21D4A");
}

} // namespace ClassLists
