#include "core/FileStamp.h"

#include "core/FileSystem.h"

#include <QFile>

NativePath NativePath::fromBytes(const QByteArray &path)
{
    return NativePath{QFile::decodeName(path), path};
}

FileStamp FileStamp::atPath(const NativePath &path)
{
    FileStamp stamp;
    if (FileSystem::current().stat(path, &stamp))
        return {};
    return stamp;
}
