#include "core/RoomLocation.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

QByteArray RoomLocation::withRealFolder(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash == 0 ? QByteArray("/") : path.left(slash);
    char *real = ::realpath(folder.constData(), nullptr);
    if (!real)
        return path; // told when the booking file cannot be opened
    QByteArray resolved(real);
    std::free(real);
    if (!resolved.endsWith('/'))
        resolved += '/';
    return resolved + path.mid(slash + 1);
}

bool RoomLocation::isProgram(const QByteArray &path)
{
    struct stat info = {};
    return ::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode)
        && ::access(path.constData(), X_OK) == 0;
}
