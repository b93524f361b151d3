#pragma once

#include <QByteArray>
#include <QString>

// Which room a board serves and where its bookings live: both come from the
// program's own file, so one program copied or linked under several names
// serves several rooms.
struct RoomLocation
{
    QString folder;   // holds the program and the room's booking file
    QString roomName; // the program's file name, without ".exe" on Windows
    // On Unix, the program's path byte for byte as it was started: a file
    // name need not be UTF-8, and the room keeps every byte of its name even
    // where roomName shows U+FFFD. Empty when the path is known as text only.
    QByteArray nativePath = {};

    // False for a name no room can bear: the program's installed name, an
    // empty name or one no file has ("." and ".."), and a name ending in
    // ".dat", which is the booking file of the room named without it.
    bool isRoom() const;

    // The name as one line of a heading or message: a line break in a file
    // name would otherwise push the rest of the name out of sight.
    QString shownName() const;

    static RoomLocation fromExecutablePath(const QString &path);
    static RoomLocation fromNativePath(const QByteArray &path);

    // The path the program was started under, links not followed, so that a
    // symbolic link named after a room serves that room. All in the system's
    // bytes. Empty when argv[0] cannot be traced (the caller then falls back
    // to the real executable). The folder is resolved to its real path here,
    // once, so that the room stays where it was started when the working
    // folder is later removed or moved; the room's own link is kept.
    static QByteArray invokedPath(const QByteArray &argv0, const QByteArray &workingDir,
                                  const QByteArray &searchPath);

private:
    // The path with its folder by its real path, its last part as it was
    // given: that is the room's own link, which must not be followed.
    static QByteArray withRealFolder(const QByteArray &path);
    // A regular file that may be run.
    static bool isProgram(const QByteArray &path);
};
