#include "board/RoomLocation.h"

#include <QDir>
#include <QFileInfo>

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

QString RoomLocation::invokedPath(const QString &argv0, const QString &workingDir,
                                  const QString &searchPath)
{
    if (argv0.isEmpty())
        return {};
    if (argv0.contains(QLatin1Char('/')))
        return QDir::cleanPath(QDir(workingDir).absoluteFilePath(argv0));

    // Started by name alone: the shell found it on the search path.
    const QStringList folders = searchPath.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString &folder : folders) {
        const QFileInfo candidate(QDir(QDir(workingDir).absoluteFilePath(folder)), argv0);
        if (candidate.isFile() && candidate.isExecutable())
            return QDir::cleanPath(candidate.absoluteFilePath());
    }
    return {};
}
