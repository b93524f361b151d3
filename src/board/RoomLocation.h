#pragma once

#include <QString>

// Which room a board serves and where its bookings live: both come from the
// program's own file, so one program copied or linked under several names
// serves several rooms.
struct RoomLocation
{
    QString folder;   // holds the program and the room's booking file
    QString roomName; // the program's file name, without ".exe" on Windows

    static RoomLocation fromExecutablePath(const QString &path);

    // The path the program was started under, links not followed, so that a
    // symbolic link named after a room serves that room. Empty when argv[0]
    // cannot be traced (the caller then falls back to the real executable).
    static QString invokedPath(const QString &argv0, const QString &workingDir,
                               const QString &searchPath);
};
