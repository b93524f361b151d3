#pragma once

#include <chrono>
#include <system_error>

class NativeFile;

// An exclusive lock that serialises writers of one booking file across
// processes and machines (the file usually sits in a shared folder).
//
// It locks a single byte far beyond any real end of the file, so readers,
// which take no lock, are never blocked, and no second file is needed: the
// program writes nothing but the booking file. The lock belongs to the open
// file itself and goes with it when the file is closed or the process dies.
class FileLock
{
public:
    // Just under 2 GiB: far past any booking file, yet within reach of
    // every file system and locking protocol that counts in 32 bits.
    static constexpr long long LockedByte = 0x7FFFFFF0LL;

    // Tries until the lock is had or the timeout has passed. Only a lock held
    // by another is waited for: where the file system cannot lock at all,
    // waiting would freeze the board and then blame another computer.
    FileLock(NativeFile &file, std::chrono::milliseconds timeout);
    ~FileLock();

    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool isLocked() const { return m_locked; }
    // Not locked, and why: none when another holds the lock.
    std::error_code cause() const { return m_cause; }

private:
    NativeFile &m_file;
    bool m_locked = false;
    std::error_code m_cause;
};
