#include "board/Hiduke.h"
#include "board/MessageBox.h"
#include "board/RoomLocation.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace {

// The room is named after the file the program was started as. On Unix that
// is argv[0] with links left alone: a link named after a room serves that
// room, its bookings beside the link.
RoomLocation locateRoom(const QString &argv0)
{
#ifdef Q_OS_UNIX
    const QString invoked = RoomLocation::invokedPath(argv0, QDir::currentPath(),
                                                      qEnvironmentVariable("PATH"));
    if (!invoked.isEmpty())
        return RoomLocation::fromExecutablePath(invoked);
#else
    Q_UNUSED(argv0);
#endif
    return RoomLocation::fromExecutablePath(QCoreApplication::applicationFilePath());
}

} // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    // Past a file size limit, a write is to fail and be reported, not to
    // kill the board with the teacher's booking half done.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    // Qt's own texts, such as a message box's キャンセル, in Japanese like the
    // rest of the board, whatever language the system speaks. The Windows
    // folder carries the file in translations/ beside the program.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
    const QString argv0 = QString::fromLocal8Bit(argv[0]);

    BoardEnvironment environment;
    environment.today = [] { return QDate::currentDate(); };
    environment.location = [argv0] { return locateRoom(argv0); };

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
