// A stand-alone writer of one booking file, for tests that need several
// processes writing at once, or one killed in the middle of its work.
//
//   booking_writer FOLDER ROOM TEXT STARTFILE KEY...
//       once STARTFILE exists, tries to book every KEY with TEXT and prints
//       "won KEY TEXT" as soon as the record is on disk; exit 0 unless
//       something else than a lost race kept a booking from being written.
//       With TEXT "loop", books and clears the KEYs in turn for ever.

#include "board/BookingLog.h"
#include "board/BookingReplay.h"
#include "board/DateWindow.h"

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
    BookingReplay replay(DateWindow::current(QDate(2018, 8, 1)), 0);
    if (args.size() < 5 || !log.replay(replay, nullptr))
        return 2;
    for (int waited = 0; !QFileInfo::exists(args[4]); ++waited) {
        if (waited > 20000)
            return 3;
        QThread::usleep(500);
    }
    const QStringList keys = args.mid(5);
    const bool loop = args[3] == QLatin1String("loop");
    for (qsizetype i = 0; loop || i < keys.size(); ++i) {
        const QString &key = keys[i % keys.size()];
        const QString expected = loop ? replay.slotText(replay.slotForKey(key.toLatin1())) : QString();
        const QString text = !loop ? args[3] : expected.isEmpty() ? QStringLiteral("k") : QString();
        const BookingLog::Outcome outcome = log.write(replay, key, expected, text, nullptr);
        if (outcome == BookingLog::Outcome::Written) {
            std::printf("won %s %s\n", qPrintable(key), qPrintable(text));
            std::fflush(stdout);
        } else if (outcome != BookingLog::Outcome::SlotChanged) {
            return 10 + int(outcome);
        }
    }
    return 0;
}
