// Holds a booking file's lock the way another board does while it writes (the
// same byte, an open file description lock), so that a test can change the
// file while a board waits.   lockholder FILE MILLISECONDS
// Prints "locked" once it holds the lock, then lets it go after MILLISECONDS.
#include "core/FileLock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const int fd = argc == 3 ? ::open(argv[1], O_RDWR | O_NOCTTY) : -1;
    struct flock request = {.l_type = F_WRLCK, .l_whence = SEEK_SET, .l_start = FileLock::LockedByte, .l_len = 1, .l_pid = 0};
    if (fd < 0 || ::fcntl(fd, F_OFD_SETLK, &request) != 0) {
        std::perror("usage: lockholder FILE MILLISECONDS");
        return 2;
    }
    std::puts("locked");
    std::fflush(stdout);
    ::usleep(useconds_t(std::atol(argv[2])) * 1000);
    return 0;
}
