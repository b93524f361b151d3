// Replays the benchmark room's booking file in a given folder, as the board
// does at start-up, and prints the process's peak resident memory in KiB.
// The kernel's high-water mark of this process alone (VmHWM) is used rather
// than the parent's rusage, which can carry the parent's own size across a
// vfork and exec.
#include "BenchFiles.h"

#include "core/BookingLog.h"
#include "core/BookingReplay.h"
#include "core/DateWindow.h"

#include <QFile>
#include <cstdio>

namespace {

long long peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // /proc files report a size of 0, so read line by line.
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    BookingLog log(QString::fromLocal8Bit(argv[1]), BenchFiles::roomName());
    BookingReplay replay(DateWindow::current(BenchFiles::today()));
    QString error;
    if (!log.replay(replay, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    int booked = 0;
    for (int slot = 1; slot <= SlotKey::SlotCount; ++slot)
        booked += replay.slotText(slot).isEmpty() ? 0 : 1;
    std::printf("%lld %d\n", peakResidentKiB(), booked);
    return 0;
}
