#include "board/RoomLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

RoomLocation RoomLocation::fromExecutablePath(const QString &path)
{
    const QFileInfo info(path);
    RoomLocation location;
    location.folder = QDir::cleanPath(info.absolutePath());
#ifdef Q_OS_WIN
    location.roomName = info.completeBaseName();
#else
    location.roomName = info.fileName();
#endif
    return location;
}

RoomLocation RoomLocation::fromNativePath(const QByteArray &path)
{
    RoomLocation location = fromExecutablePath(QFile::decodeName(path));
    location.nativePath = path;
    return location;
}

QByteArray RoomLocation::invokedPath(const QByteArray &argv0, const QByteArray &workingDir,
                                     const QByteArray &searchPath)
{
    const auto absolute = [&workingDir](const QByteArray &path) {
        return path.startsWith('/') ? path : workingDir + '/' + path;
    };
    if (argv0.isEmpty())
        return {};
    if (argv0.contains('/'))
        return absolute(argv0);

#ifdef Q_OS_UNIX
    // Started by name alone: the shell found it on the search path.
    for (const QByteArray &folder : searchPath.split(':')) {
        if (folder.isEmpty())
            continue;
        const QByteArray candidate = absolute(folder) + '/' + argv0;
        struct stat info = {};
        if (::stat(candidate.constData(), &info) == 0 && S_ISREG(info.st_mode)
            && ::access(candidate.constData(), X_OK) == 0) {
            return candidate;
        }
    }
#else
    Q_UNUSED(searchPath);
#endif
    return {};
}
