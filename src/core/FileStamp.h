#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// A file's path for the system and for people. On Unix a name is bytes and
// need not be UTF-8: a room named with such bytes keeps them, so two rooms
// never meet in one file, while messages show U+FFFD for them. Windows names
// are UTF-16 and the shown path is the path.
struct NativePath
{
    QString shown;
    QByteArray bytes; // Unix only

    static NativePath fromShown(const QString &path);
    static NativePath fromBytes(const QByteArray &path);
};

// What the system says of a file without reading it: which file it is, what
// kind, how big, when last written and when last changed in any way. A board
// compares stamps to know that nothing changed, or that the file it read was
// replaced by another.
struct FileStamp
{
    enum class Kind { Missing, Regular, Folder, Other };

    Kind kind = Kind::Missing;
    quint64 volume = 0; // device on Unix, volume serial number on Windows
    quint64 index = 0;  // inode on Unix, file index on Windows
    qint64 size = 0;
    qint64 modified = 0;
    // Status change (ctime, ChangeTime on Windows): moves on every write and
    // cannot be set back, so a rewrite that keeps size and modification time
    // still shows.
    qint64 changed = 0;

    // Stamps compare equal when nothing the system tells of has changed.
    bool operator==(const FileStamp &) const = default;

    bool isSameFile(const FileStamp &other) const
    {
        return kind == other.kind && volume == other.volume && index == other.index;
    }

    // Through a handle opened afresh, not a look-up by name: a network client
    // answers those from its cache (NFS for up to a minute, SMB for 10 s),
    // while an open asks the server, so another computer's booking and a
    // file renamed over ours show at once. Missing also when the file cannot
    // be looked at.
    static FileStamp atPath(const NativePath &path);
};
