#include "core/FileLock.h"

#include <QElapsedTimer>
#include <QFile>
#include <cerrno>
#include <thread>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr std::chrono::milliseconds RetryInterval(20);

#if !defined(Q_OS_WIN)
// Linux has locks owned by the open file rather than by the process, so two
// boards in one process (as in tests) exclude each other too, and closing
// another descriptor of the same file does not drop the lock.
#if defined(F_OFD_SETLK)
constexpr int SetLock = F_OFD_SETLK;
#else
constexpr int SetLock = F_SETLK;
#endif

bool setLock(int fd, short type)
{
    struct flock request = {};
    request.l_type = type;
    request.l_whence = SEEK_SET;
    request.l_start = FileLock::LockedByte;
    request.l_len = 1;
    request.l_pid = 0;
    return ::fcntl(fd, SetLock, &request) == 0;
}
#else
HANDLE osHandle(const QFile &file)
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
}

OVERLAPPED lockedByte()
{
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(FileLock::LockedByte & 0xFFFFFFFF);
    where.OffsetHigh = static_cast<DWORD>(FileLock::LockedByte >> 32);
    return where;
}
#endif

} // namespace

FileLock::FileLock(QFile &file, std::chrono::milliseconds timeout)
    : m_file(file)
{
    QElapsedTimer waited;
    waited.start();
    while (!(m_locked = tryLock())) {
        if (m_cause != 0 || waited.elapsed() >= timeout.count())
            break;
        std::this_thread::sleep_for(RetryInterval);
    }
}

FileLock::~FileLock()
{
    if (m_locked)
        unlock();
}

bool FileLock::tryLock()
{
#if defined(Q_OS_WIN)
    OVERLAPPED where = lockedByte();
    if (::LockFileEx(osHandle(m_file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1,
                     0, &where)) {
        return true;
    }
    const DWORD cause = ::GetLastError();
    m_cause = cause == ERROR_LOCK_VIOLATION || cause == ERROR_IO_PENDING ? 0 : int(cause);
#else
    if (setLock(m_file.handle(), F_WRLCK))
        return true;
    m_cause = errno == EACCES || errno == EAGAIN || errno == EINTR ? 0 : errno;
#endif
    return false;
}

void FileLock::unlock()
{
#if defined(Q_OS_WIN)
    OVERLAPPED where = lockedByte();
    ::UnlockFileEx(osHandle(m_file), 0, 1, 0, &where);
#else
    setLock(m_file.handle(), F_UNLCK);
#endif
}
