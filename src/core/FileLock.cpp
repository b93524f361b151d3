#include "core/FileLock.h"

#include "core/NativeFile.h"

#include <QElapsedTimer>
#include <thread>

namespace {

constexpr std::chrono::milliseconds RetryInterval(20);

} // namespace

FileLock::FileLock(NativeFile &file, std::chrono::milliseconds timeout)
    : m_file(file)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const std::error_code error = FileSystem::current().tryLock(file.handle(), LockedByte);
        m_locked = !error;
        if (error != std::errc::resource_unavailable_try_again)
            m_cause = error;
        if (m_locked || m_cause || waited.elapsed() >= timeout.count())
            break;
        std::this_thread::sleep_for(RetryInterval);
    }
}

FileLock::~FileLock()
{
    if (m_locked)
        FileSystem::current().unlock(m_file.handle(), LockedByte);
}
