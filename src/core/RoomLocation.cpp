#include "core/RoomLocation.h"

#include "core/InstalledName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

RoomLocation RoomLocation::fromExecutablePath(const QString &path)
{
    const QFileInfo info(path);
    RoomLocation location;
    location.folder = QDir::cleanPath(info.absolutePath());
    location.roomName = info.fileName();
#ifdef Q_OS_WIN
    // Only ".exe" goes: the program copied as 理科室.dat and started as such
    // would otherwise serve 理科室 with itself as the booking file.
    if (location.roomName.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        location.roomName.chop(4);
#endif
    return location;
}

bool RoomLocation::isRoom() const
{
    // ".dat" in any case: a folder shared from Windows ignores case, and there
    // 理科室.DAT is the booking file of 理科室.
    return !roomName.isEmpty() && roomName != QLatin1String(".") && roomName != QLatin1String("..")
        && !roomName.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive) && !InstalledName::matches(roomName);
}

QString RoomLocation::shownName() const
{
    // Each break becomes ⏎ (U+23CE) rather than a space, so that the heading
    // does not pass for the name with a space, which is another room's. IPA P
    // Gothic, the face the board falls back to on Linux, has the mark.
    QString shown = roomName;
    for (QChar &c : shown) {
        if (c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85)
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QChar(0x23CE);
    }
    return shown;
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
        return withRealFolder(absolute(argv0));
    // Started by name alone: the shell found it on the search path.
    for (const QByteArray &folder : searchPath.split(':')) {
        if (!folder.isEmpty() && isProgram(absolute(folder) + '/' + argv0))
            return withRealFolder(absolute(folder) + '/' + argv0);
    }
    return {};
}
