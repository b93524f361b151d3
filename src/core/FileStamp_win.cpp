#include "core/FileStamp.h"
#include "core/FileSystem.h"

#include <windows.h>

namespace {

std::error_code lastError()
{
    return {int(::GetLastError()), std::system_category()};
}

std::error_code stampOf(HANDLE handle, FileStamp *stamp)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(handle, &info))
        return lastError();
    *stamp = {};
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        stamp->kind = FileStamp::Kind::Folder;
    else if (::GetFileType(handle) == FILE_TYPE_DISK)
        stamp->kind = FileStamp::Kind::Regular;
    else
        stamp->kind = FileStamp::Kind::Other;
    stamp->volume = info.dwVolumeSerialNumber;
    stamp->index = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp->size = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    stamp->modified = qint64((quint64(info.ftLastWriteTime.dwHighDateTime) << 32)
                             | info.ftLastWriteTime.dwLowDateTime);
    FILE_BASIC_INFO basic = {};
    if (::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
        stamp->changed = basic.ChangeTime.QuadPart;
    return {};
}

} // namespace

NativePath NativePath::fromShown(const QString &path)
{
    return NativePath{path, {}};
}

std::error_code FileSystem::stat(FileHandle handle, FileStamp *stamp)
{
    return stampOf(reinterpret_cast<HANDLE>(handle), stamp);
}

// Opened for reading, sharing everything, so that no other program is kept
// from the file for a moment, and the share's server is asked.
std::error_code FileSystem::stat(const NativePath &path, FileStamp *stamp)
{
    const HANDLE handle = ::CreateFileW(reinterpret_cast<const wchar_t *>(path.shown.utf16()),
                                        GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return lastError();
    const std::error_code error = stampOf(handle, stamp);
    ::CloseHandle(handle);
    return error;
}
