#include "core/NamingMode.h"

namespace NamingMode {

int afterText(QStringView text, int current)
{
    const QStringView second = text.mid(1, 1);
    if (second == u"の" || text.left(2) == u"\u3000")
        return current;
    return second == u"-" ? Numbered : Lettered;
}

} // namespace NamingMode
