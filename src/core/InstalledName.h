#pragma once

#include <QString>

// The program under the name it was built and installed as (/usr/bin/roomboard)
// is no room: a room is a link or copy of it named after the room. Started as
// itself it would otherwise become a room "roomboard" with its bookings in the
// program's own folder.
namespace InstalledName {

bool matches(const QString &roomName);

// Tells whoever started the program under `roomName`, which names no room
// (see RoomLocation::isRoom), how a room is made, with `programPath` in the
// example.
QString notARoomMessage(const QString &roomName, const QString &programPath);

} // namespace InstalledName
