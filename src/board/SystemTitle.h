#pragma once

#include <QString>

// The name the board goes by in its caption and its message boxes.
inline QString systemTitle()
{
    return QStringLiteral("特別教室予約ボード");
}
