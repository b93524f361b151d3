#include "core/FileStamp.h"

#include <QFile>
#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

NativePath NativePath::fromShown(const QString &path)
{
#ifdef Q_OS_WIN
    return NativePath{path, {}};
#else
    return NativePath{path, QFile::encodeName(path)};
#endif
}

NativePath NativePath::fromBytes(const QByteArray &path)
{
    return NativePath{QFile::decodeName(path), path};
}

#ifdef Q_OS_WIN

namespace {

FileStamp stampOfHandle(HANDLE handle)
{
    FileStamp stamp;
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(handle, &info)) {
        errno = EIO;
        return stamp;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        stamp.kind = FileStamp::Kind::Folder;
    else if (::GetFileType(handle) == FILE_TYPE_DISK)
        stamp.kind = FileStamp::Kind::Regular;
    else
        stamp.kind = FileStamp::Kind::Other;
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.index = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.size = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    stamp.modified = qint64((quint64(info.ftLastWriteTime.dwHighDateTime) << 32)
                            | info.ftLastWriteTime.dwLowDateTime);
    FILE_BASIC_INFO basic = {};
    if (::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
        stamp.changed = basic.ChangeTime.QuadPart;
    return stamp;
}

} // namespace

FileStamp FileStamp::of(const QFile &file)
{
    return stampOfHandle(reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle())));
}

// Opened for reading, sharing everything, so that no other program is kept
// from the file for a moment, and the share's server is asked.
FileStamp FileStamp::atPath(const NativePath &path)
{
    const HANDLE handle = ::CreateFileW(reinterpret_cast<const wchar_t *>(path.shown.utf16()),
                                        GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ENOENT;
        return {};
    }
    const FileStamp stamp = stampOfHandle(handle);
    ::CloseHandle(handle);
    return stamp;
}

// Opening does not wait on Windows; what is opened is checked before use.
// Opening for writing creates a missing file there in any case.
bool FileStamp::open(QFile &file, const NativePath &path, QIODevice::OpenMode mode, bool create,
                     FileStamp *stamp)
{
    Q_UNUSED(create);
    *stamp = {};
    file.setFileName(path.shown);
    errno = 0;
    if (!file.open(mode))
        return false;
    *stamp = of(file);
    if (stamp->kind != Kind::Regular) {
        file.close();
        return false;
    }
    return true;
}

#else

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

FileStamp FileStamp::of(const QFile &file)
{
    struct stat info = {};
    if (::fstat(file.handle(), &info) != 0)
        return {};
    return stampOf(info);
}

// Opening a FIFO for reading without waiting, or a socket not at all, does
// no harm; what cannot be opened (no right to read it, a socket) is looked
// up by name instead, to say what it is.
FileStamp FileStamp::atPath(const NativePath &path)
{
    struct stat info = {};
    int fd = -1;
    do {
        fd = ::open(path.bytes.constData(), openFlags(QIODevice::ReadOnly, false));
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) {
        const int looked = ::fstat(fd, &info);
        const int cause = errno;
        ::close(fd);
        errno = cause;
        return looked == 0 ? stampOf(info) : FileStamp{};
    }
    if (::stat(path.bytes.constData(), &info) != 0)
        return {};
    return stampOf(info);
}

bool FileStamp::open(QFile &file, const NativePath &path, QIODevice::OpenMode mode, bool create,
                     FileStamp *stamp)
{
    *stamp = {};
    file.setFileName(path.shown); // for messages only
    int fd = -1;
    do {
        fd = ::open(path.bytes.constData(), openFlags(mode, create), 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int cause = errno;
        // A socket, or a FIFO nobody reads when opened for writing: say what
        // it is rather than the system's bare "no such device".
        if (cause == ENXIO || cause == EISDIR)
            *stamp = atPath(path);
        errno = cause;
        return false;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        const int cause = errno;
        ::close(fd);
        errno = cause;
        return false;
    }
    *stamp = stampOf(info);
    if (stamp->kind != Kind::Regular) {
        ::close(fd);
        errno = stamp->kind == Kind::Folder ? EISDIR : 0;
        return false;
    }
    // Reads and writes of a regular file never wait anyway; the flag goes
    // so that nothing later is surprised by it.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    errno = 0;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        const int cause = errno;
        ::close(fd);
        errno = cause;
        return false;
    }
    return true;
}

#endif
