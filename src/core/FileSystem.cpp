#include "core/FileSystem.h"

namespace {

FileSystem *inUse = nullptr;

} // namespace

FileSystem &FileSystem::current()
{
    static FileSystem system;
    return inUse ? *inUse : system;
}

void FileSystem::use(FileSystem *fileSystem)
{
    inUse = fileSystem;
}
