#include "core/BookingFileSetup.h"
#include "board/Hiduke.h"
#include "core/InstalledName.h"
#include "board/MessageBox.h"
#include "core/QtTranslation.h"
#include "core/RoomLocation.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <csignal>
#include <cstdlib>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// Without a screen to show on, Qt would abort with advice to reinstall the
// program, in English, though nothing is wrong with it. Qt's own choice of
// screen, by QT_QPA_PLATFORM or -platform, is left to Qt.
bool hasScreen(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    return std::any_of(argv + 1, argv + argc, [](const char *arg) {
        return qstrcmp(arg, "-platform") == 0 || qstrcmp(arg, "--platform") == 0;
    });
}

QByteArray workingDirectory()
{
    char *path = ::getcwd(nullptr, 0);
    const QByteArray bytes(path ? path : "");
    std::free(path);
    return bytes;
}
#endif

// The room is named after the file the program was started as. On Unix that
// is argv[0] with links left alone: a link named after a room serves that
// room, its bookings beside the link. Its bytes are kept as they are, since
// a name need not be UTF-8.
RoomLocation locateRoom(const QByteArray &argv0)
{
#ifdef Q_OS_UNIX
    const QByteArray invoked = RoomLocation::invokedPath(argv0, workingDirectory(), qgetenv("PATH"));
    if (!invoked.isEmpty())
        return RoomLocation::fromNativePath(invoked);
#else
    Q_UNUSED(argv0);
#endif
    return RoomLocation::fromExecutablePath(QCoreApplication::applicationFilePath());
}

// Shown on standard error and in a box: a teacher starts the board from a
// menu and sees no terminal.
int refuse(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    MessageBox::error(nullptr, message);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    // Past a file size limit, a write is to fail and be reported, not to
    // kill the board with the teacher's booking half done.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!hasScreen(argc, argv)) {
        std::fputs("予約ボードには画面（デスクトップ）が必要です。"
                   "デスクトップにログインしてから起動してください。\n", stderr);
        return 1;
    }
#endif
    QApplication app(argc, argv);
    QtTranslation::install(QtTranslation::folders());
    // Worked out once: a working folder removed or moved later must neither
    // break the room nor switch it to another booking file.
    const RoomLocation room = locateRoom(QByteArray(argv[0]));
    if (!room.isRoom())
        return refuse(InstalledName::notARoomMessage(room.shownName(), QCoreApplication::applicationFilePath()));
    if (const QString refusal = BookingFileSetup::refusalForRoot(room); !refusal.isEmpty())
        return refuse(refusal);

    BoardEnvironment environment;
    environment.today = [] { return QDate::currentDate(); };
    environment.location = [room] { return room; };

    Hiduke board(environment);
    QObject::connect(&board, &Hiduke::failed, &board, [&board](const QString &message) {
        MessageBox::error(board.isVisible() ? &board : nullptr, message);
        QCoreApplication::exit(1);
    });
    if (!board.Form_Load())
        return 1;
    board.show();
    return app.exec();
}
