#include "core/FileStamp.h"
#include "core/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::error_code lastError()
{
    return {errno, std::system_category()};
}

int openFlags(QIODevice::OpenMode mode, bool create)
{
    // A terminal at the path must not become the board's controlling one.
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    if ((mode & QIODevice::ReadWrite) == QIODevice::ReadWrite)
        flags |= O_RDWR;
    else if (mode & QIODevice::WriteOnly)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    if (mode & QIODevice::Append)
        flags |= O_APPEND;
    if (create)
        flags |= O_CREAT;
    return flags;
}

} // namespace

std::error_code FileSystem::open(const NativePath &path, QIODevice::OpenMode mode, bool create,
                                 FileHandle *handle, FileStamp *stamp)
{
    *stamp = {};
    int fd = -1;
    do {
        fd = ::open(path.bytes.constData(), openFlags(mode, create), 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const std::error_code error = lastError();
        // A socket, or a FIFO nobody reads when opened for writing: say what
        // it is rather than the system's bare "no such device".
        if (error.value() == ENXIO)
            stat(path, stamp);
        return error;
    }
    if (const std::error_code error = stat(fd, stamp)) {
        ::close(fd);
        return error;
    }
    if (stamp->kind != FileStamp::Kind::Regular) {
        ::close(fd);
        return std::make_error_code(stamp->kind == FileStamp::Kind::Folder ? std::errc::is_a_directory
                                                                           : std::errc::no_such_device);
    }
    // Reads and writes of a regular file never wait anyway; the flag goes
    // so that nothing later is surprised by it.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    *handle = fd;
    return {};
}

void FileSystem::close(FileHandle handle)
{
    ::close(int(handle));
}

std::error_code FileSystem::read(FileHandle handle, char *data, qint64 size, qint64 *got)
{
    ssize_t n = -1;
    do {
        n = ::read(int(handle), data, size_t(size));
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return lastError();
    *got = n;
    return {};
}

// A write may be cut short, by a file size limit for one, and the next then
// tells why.
std::error_code FileSystem::write(FileHandle handle, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(int(handle), data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return lastError();
        data += n;
        size -= n;
    }
    return {};
}

std::error_code FileSystem::seek(FileHandle handle, qint64 offset)
{
    return ::lseek(int(handle), off_t(offset), SEEK_SET) < 0 ? lastError() : std::error_code();
}

std::error_code FileSystem::resize(FileHandle handle, qint64 size)
{
    return ::ftruncate(int(handle), off_t(size)) != 0 ? lastError() : std::error_code();
}

std::error_code FileSystem::sync(FileHandle handle)
{
    return ::fsync(int(handle)) != 0 ? lastError() : std::error_code();
}
