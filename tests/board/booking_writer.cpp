// A stand-alone writer of one booking file, for tests that need several
// processes writing at once, or one killed in the middle of its work.
//
//   booking_writer FOLDER ROOM race TEXT STARTFILE KEY...
//       once STARTFILE exists, tries to book every KEY and prints "won KEY"
//       for those it got; exit 0 unless something else than a lost race
//   booking_writer FOLDER ROOM loop
//       books and clears slot after slot for ever, printing "saved RECORD"
//       (the line without its CR LF) once each record is on disk

#include "board/BookingLog.h"
#include "board/BookingRecord.h"
#include "board/BookingReplay.h"
#include "board/DateWindow.h"
#include "board/SlotKey.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
#ifdef Q_OS_WIN
    // Lines end in LF alone, as the tests read them, not CR LF.
    ::_setmode(::_fileno(stdout), _O_BINARY);
#endif
    const QStringList args = app.arguments();
    BookingLog log(args.value(1), args.value(2));
    const DateWindow window = DateWindow::current(QDate(2018, 8, 1));
    BookingReplay replay(window, 0);
    if (args.size() < 4 || !log.replay(replay, nullptr))
        return 2;

    if (args[3] == QLatin1String("race")) {
        for (int waited = 0; !QFileInfo::exists(args.value(5)); ++waited) {
            if (waited > 20000)
                return 3;
            QThread::usleep(500);
        }
        for (const QString &key : args.mid(6)) {
            const BookingLog::Outcome outcome = log.write(replay, key, QString(), args[4], nullptr);
            if (outcome == BookingLog::Outcome::Written)
                std::printf("won %s\n", qPrintable(key));
            else if (outcome != BookingLog::Outcome::SlotChanged)
                return 10 + int(outcome);
        }
        return 0;
    }
    for (int i = 0;; ++i) {
        const int slot = i % SlotKey::SlotCount + 1;
        const QString key = SlotKey::make(window, slot);
        const QString expected = replay.slotText(slot);
        const QString text = expected.isEmpty() ? QStringLiteral("k%1").arg(i) : QString();
        if (log.write(replay, key, expected, text, nullptr) != BookingLog::Outcome::Written)
            return 4;
        std::printf("saved %s\n", BookingRecord::format(key, text)->chopped(2).constData());
        std::fflush(stdout);
    }
}
