#include "core/FileSystem.h"

#include <cerrno>
#include <fcntl.h>

namespace {

// Linux has locks owned by the open file rather than by the process, so two
// boards in one process (as in tests) exclude each other too, and closing
// another descriptor of the same file does not drop the lock.
#if defined(F_OFD_SETLK)
constexpr int SetLock = F_OFD_SETLK;
#else
constexpr int SetLock = F_SETLK;
#endif

std::error_code setLock(FileHandle handle, qint64 byte, short type)
{
    struct flock request = {};
    request.l_type = type;
    request.l_whence = SEEK_SET;
    request.l_start = off_t(byte);
    request.l_len = 1;
    request.l_pid = 0;
    if (::fcntl(int(handle), SetLock, &request) == 0)
        return {};
    if (errno == EACCES || errno == EAGAIN || errno == EINTR)
        return std::make_error_code(std::errc::resource_unavailable_try_again);
    return {errno, std::system_category()};
}

} // namespace

std::error_code FileSystem::tryLock(FileHandle handle, qint64 byte)
{
    return setLock(handle, byte, F_WRLCK);
}

void FileSystem::unlock(FileHandle handle, qint64 byte)
{
    setLock(handle, byte, F_UNLCK);
}
