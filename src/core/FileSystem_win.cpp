#include "core/FileStamp.h"
#include "core/FileSystem.h"

#include <windows.h>

namespace {

std::error_code lastError()
{
    return {int(::GetLastError()), std::system_category()};
}

HANDLE toHandle(FileHandle handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

// Other programs may read and write the file meanwhile, as Qt lets them, but
// not rename or delete it while a board has it open. Opening does not wait
// on Windows; what was opened is checked before use.
std::error_code FileSystem::open(const NativePath &path, QIODevice::OpenMode mode, bool create,
                                 FileHandle *handle, FileStamp *stamp)
{
    *stamp = {};
    DWORD access = 0;
    if (mode & QIODevice::ReadOnly)
        access |= GENERIC_READ;
    if (mode & QIODevice::WriteOnly)
        access |= GENERIC_WRITE;
    const HANDLE opened = ::CreateFileW(reinterpret_cast<const wchar_t *>(path.shown.utf16()), access,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                        nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return lastError();
    if (const std::error_code error = stat(FileHandle(opened), stamp)) {
        ::CloseHandle(opened);
        return error;
    }
    if (stamp->kind != FileStamp::Kind::Regular) {
        ::CloseHandle(opened);
        return std::make_error_code(stamp->kind == FileStamp::Kind::Folder ? std::errc::is_a_directory
                                                                           : std::errc::no_such_device);
    }
    *handle = FileHandle(opened);
    return {};
}

void FileSystem::close(FileHandle handle)
{
    ::CloseHandle(toHandle(handle));
}

std::error_code FileSystem::read(FileHandle handle, char *data, qint64 size, qint64 *got)
{
    DWORD n = 0;
    const DWORD wanted = DWORD(qMin<qint64>(size, MAXDWORD));
    if (!::ReadFile(toHandle(handle), data, wanted, &n, nullptr))
        return lastError();
    *got = n;
    return {};
}

// Every write goes to the end, as opening for appending means; writers take
// turns under the lock, so no other lands between the move and the write.
std::error_code FileSystem::write(FileHandle handle, const char *data, qint64 size)
{
    LARGE_INTEGER none = {};
    if (!::SetFilePointerEx(toHandle(handle), none, nullptr, FILE_END))
        return lastError();
    while (size > 0) {
        DWORD n = 0;
        if (!::WriteFile(toHandle(handle), data, DWORD(qMin<qint64>(size, MAXDWORD)), &n, nullptr))
            return lastError();
        data += n;
        size -= n;
    }
    return {};
}

std::error_code FileSystem::seek(FileHandle handle, qint64 offset)
{
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return ::SetFilePointerEx(toHandle(handle), to, nullptr, FILE_BEGIN) ? std::error_code() : lastError();
}

std::error_code FileSystem::resize(FileHandle handle, qint64 size)
{
    if (const std::error_code error = seek(handle, size))
        return error;
    return ::SetEndOfFile(toHandle(handle)) ? std::error_code() : lastError();
}

std::error_code FileSystem::sync(FileHandle handle)
{
    return ::FlushFileBuffers(toHandle(handle)) ? std::error_code() : lastError();
}
