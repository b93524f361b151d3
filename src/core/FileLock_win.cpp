#include "core/FileSystem.h"

#include <windows.h>

namespace {

OVERLAPPED at(qint64 byte)
{
    OVERLAPPED where = {};
    where.Offset = DWORD(quint64(byte) & 0xFFFFFFFF);
    where.OffsetHigh = DWORD(quint64(byte) >> 32);
    return where;
}

} // namespace

std::error_code FileSystem::tryLock(FileHandle handle, qint64 byte)
{
    OVERLAPPED where = at(byte);
    if (::LockFileEx(reinterpret_cast<HANDLE>(handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                     0, 1, 0, &where)) {
        return {};
    }
    const DWORD cause = ::GetLastError();
    if (cause == ERROR_LOCK_VIOLATION || cause == ERROR_IO_PENDING)
        return std::make_error_code(std::errc::resource_unavailable_try_again);
    return {int(cause), std::system_category()};
}

void FileSystem::unlock(FileHandle handle, qint64 byte)
{
    OVERLAPPED where = at(byte);
    ::UnlockFileEx(reinterpret_cast<HANDLE>(handle), 0, 1, 0, &where);
}
