#pragma once

#include <QIODevice>
#include <QtGlobal>
#include <system_error>

struct FileStamp;
struct NativePath;

// A file descriptor on Unix, a HANDLE on Windows.
using FileHandle = qintptr;

// Every call the booking file's code makes of the system goes through here,
// so that a test can make the disk or the share fail at any one of them, as
// no real file can be made to. The members are the system's own calls; a
// test derives and overrides the one that is to fail. The system's errors
// come back as system_category codes (errno, or GetLastError() on Windows),
// this code's own as generic ones.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // The one in use: the system's, unless a test put another in its place.
    static FileSystem &current();
    // nullptr puts the system's back.
    static void use(FileSystem *fileSystem);

    // Opens without waiting for anything: a FIFO opened for reading waits
    // for a writer, and reading a device may never end. Only a regular file
    // stays open; anything else is closed again before a byte is read, and
    // `stamp` tells what it was.
    virtual std::error_code open(const NativePath &path, QIODevice::OpenMode mode, bool create,
                                 FileHandle *handle, FileStamp *stamp);
    virtual void close(FileHandle handle);
    // `got` is 0 at the end of the file.
    virtual std::error_code read(FileHandle handle, char *data, qint64 size, qint64 *got);
    // All of it, or an error.
    virtual std::error_code write(FileHandle handle, const char *data, qint64 size);
    virtual std::error_code seek(FileHandle handle, qint64 offset);
    virtual std::error_code resize(FileHandle handle, qint64 size);
    // To the disk itself, past every cache, so that a booking the teacher was
    // told of survives a power cut.
    virtual std::error_code sync(FileHandle handle);
    virtual std::error_code stat(FileHandle handle, FileStamp *stamp);
    virtual std::error_code stat(const NativePath &path, FileStamp *stamp);
    // One byte, exclusively, without waiting: resource_unavailable_try_again
    // when another holds it.
    virtual std::error_code tryLock(FileHandle handle, qint64 byte);
    virtual void unlock(FileHandle handle, qint64 byte);
};
