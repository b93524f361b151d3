#pragma once

#include "core/FileSystem.h"

#include <QIODevice>
#include <system_error>

struct FileStamp;
struct NativePath;

// The booking file as the system hands it out, every call through
// FileSystem. Always unbuffered: the line reader reads in chunks of its own,
// and a read must see what another board appended a moment ago.
class NativeFile : public QIODevice
{
public:
    NativeFile() = default;
    ~NativeFile() override;

    // Only a regular file is opened: false when the system refused it, or
    // when `stamp` tells it is something else.
    bool open(const NativePath &path, OpenMode mode, bool create, FileStamp *stamp);
    void close() override;

    bool seek(qint64 offset) override;
    // 0 when the system cannot tell.
    qint64 size() const override;
    bool resize(qint64 size);
    bool sync();
    FileStamp stamp() const;
    FileHandle handle() const { return m_handle; }

    // Why the last call that failed did.
    std::error_code error() const { return m_error; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool failed(std::error_code error);

    FileHandle m_handle = -1;
    std::error_code m_error;
};
