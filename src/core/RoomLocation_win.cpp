#include "core/RoomLocation.h"

// Windows hands the program its full path; nothing to resolve or search.
QByteArray RoomLocation::withRealFolder(const QByteArray &path)
{
    return path;
}

bool RoomLocation::isProgram(const QByteArray &)
{
    return false;
}
