#include "core/NamingMode.h"

NamingMode namingModeAfterText(QStringView text, NamingMode current)
{
    const QStringView second = text.mid(1, 1);
    if (second == u"の" || text.left(2) == u"\u3000")
        return current;
    return second == u"-" ? NamingMode::Numbered : NamingMode::Lettered;
}

NamingMode namingModeAfterClearQuestion(bool confirmed)
{
    return confirmed ? NamingMode::Numbered : NamingMode::LetteredAfterCancelledClearing;
}

NamingMode toggledInClassMenu(NamingMode mode)
{
    return mode == NamingMode::Numbered ? NamingMode::Lettered : NamingMode::Numbered;
}

NamingMode toggledByCheckBox(NamingMode mode)
{
    return mode == NamingMode::Lettered ? NamingMode::Numbered : NamingMode::Lettered;
}
