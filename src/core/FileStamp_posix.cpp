#include "core/FileStamp.h"
#include "core/FileSystem.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileStamp stampOf(const struct stat &info)
{
    FileStamp stamp;
    if (S_ISREG(info.st_mode))
        stamp.kind = FileStamp::Kind::Regular;
    else if (S_ISDIR(info.st_mode))
        stamp.kind = FileStamp::Kind::Folder;
    else
        stamp.kind = FileStamp::Kind::Other;
    stamp.volume = quint64(info.st_dev);
    stamp.index = quint64(info.st_ino);
    stamp.size = qint64(info.st_size);
    stamp.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changed = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return stamp;
}

std::error_code lastError()
{
    return {errno, std::system_category()};
}

} // namespace

NativePath NativePath::fromShown(const QString &path)
{
    return NativePath{path, QFile::encodeName(path)};
}

std::error_code FileSystem::stat(FileHandle handle, FileStamp *stamp)
{
    struct stat info = {};
    if (::fstat(int(handle), &info) != 0)
        return lastError();
    *stamp = stampOf(info);
    return {};
}

// Opening a FIFO for reading without waiting, or a socket not at all, does
// no harm; what cannot be opened (no right to read it, a socket) is looked
// up by name instead, to say what it is.
std::error_code FileSystem::stat(const NativePath &path, FileStamp *stamp)
{
    struct stat info = {};
    int fd = -1;
    do {
        fd = ::open(path.bytes.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) {
        const int looked = ::fstat(fd, &info);
        const std::error_code error = lastError();
        ::close(fd);
        if (looked != 0)
            return error;
    } else if (::stat(path.bytes.constData(), &info) != 0) {
        return lastError();
    }
    *stamp = stampOf(info);
    return {};
}
