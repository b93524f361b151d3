// Starts the board of the benchmark room over a given folder, as main() does
// but with the benchmark's fixed date, lets it stand idle for a given number
// of seconds once it is painted, and prints the share of one CPU it used
// meanwhile, in per cent. An idle board still looks at its booking file
// every second; this is what that costs. At the end a record is appended
// and the board must show it by itself, or the run fails: a board that
// never looked would cost nothing too.
#include "BenchBoard.h"

#include "core/BookingRecord.h"
#include "core/DateWindow.h"
#include "core/SlotKey.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER SECONDS\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int seconds = std::atoi(argv[2]);
    const auto board = loadBenchBoard(folder);
    board->show();

    double cpuAtStart = 0;
    QElapsedTimer wall;
    // Counted once start-up and the first paint are well over.
    constexpr int SettleMilliseconds = 3000;
    QTimer::singleShot(SettleMilliseconds, [&] {
        cpuAtStart = cpuSeconds();
        wall.start();
    });
    QTimer::singleShot(SettleMilliseconds + seconds * 1000, [&] {
        const double share = (cpuSeconds() - cpuAtStart) / (double(wall.elapsed()) / 1000) * 100;
        std::printf("%.4f %.1f\n", share, double(wall.elapsed()) / 1000);
        std::fflush(stdout);

        auto *slot = board->findChild<QPushButton *>(QStringLiteral("PCclass_1"));
        const QString key = SlotKey::make(DateWindow::current(BenchFiles::today()), 1);
        const QString text = slot->text().isEmpty() ? QStringLiteral("確認") : QString();
        QFile file(QDir(folder).filePath(BenchFiles::roomName() + QStringLiteral(".dat")));
        if (!file.open(QIODevice::Append) || file.write(BookingRecord::format(key, text).value()) < 0)
            std::_Exit(5);
        file.close();
        auto *check = new QTimer(&app);
        QObject::connect(check, &QTimer::timeout, [slot, text] {
            if (slot->text() == text)
                std::_Exit(0);
        });
        check->start(50);
        QTimer::singleShot(3000, [] {
            std::fprintf(stderr, "the board did not take in a record appended to its file\n");
            std::_Exit(4);
        });
    });
    return app.exec();
}
