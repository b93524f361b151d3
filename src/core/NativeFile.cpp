#include "core/NativeFile.h"

#include "core/FileStamp.h"

NativeFile::~NativeFile()
{
    close();
}

bool NativeFile::open(const NativePath &path, OpenMode mode, bool create, FileStamp *stamp)
{
    close();
    if (const std::error_code error = FileSystem::current().open(path, mode, create, &m_handle, stamp))
        return failed(error);
    m_error.clear();
    return QIODevice::open(mode | Unbuffered);
}

void NativeFile::close()
{
    if (m_handle == -1)
        return;
    QIODevice::close();
    FileSystem::current().close(m_handle);
    m_handle = -1;
}

bool NativeFile::seek(qint64 offset)
{
    if (const std::error_code error = FileSystem::current().seek(m_handle, offset))
        return failed(error);
    return QIODevice::seek(offset);
}

qint64 NativeFile::size() const
{
    return stamp().size;
}

bool NativeFile::resize(qint64 size)
{
    if (const std::error_code error = FileSystem::current().resize(m_handle, size))
        return failed(error);
    return true;
}

bool NativeFile::sync()
{
    if (const std::error_code error = FileSystem::current().sync(m_handle))
        return failed(error);
    return true;
}

FileStamp NativeFile::stamp() const
{
    FileStamp stamp;
    if (FileSystem::current().stat(m_handle, &stamp))
        return {};
    return stamp;
}

qint64 NativeFile::readData(char *data, qint64 maxSize)
{
    qint64 got = 0;
    if (const std::error_code error = FileSystem::current().read(m_handle, data, maxSize, &got))
        return failed(error), -1;
    return got;
}

qint64 NativeFile::writeData(const char *data, qint64 size)
{
    if (const std::error_code error = FileSystem::current().write(m_handle, data, size))
        return failed(error), -1;
    return size;
}

bool NativeFile::failed(std::error_code error)
{
    m_error = error;
    return false;
}
