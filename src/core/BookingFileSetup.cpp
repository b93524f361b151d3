#include "core/BookingFileSetup.h"

#include "core/BookingLog.h"
#include "core/RoomLocation.h"

#include <QFile>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace BookingFileSetup {

QString installLine(const QString &bookingFile)
{
    // Quoted only where a shell would split or expand it, so that the usual
    // path reads as the administrator would type it.
    static const QRegularExpression plain(QStringLiteral("^[\\w/.,:+@%=-]+$"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    QString path = bookingFile;
    if (!plain.match(path).hasMatch())
        path = QLatin1Char('\'') + path.replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
    return QStringLiteral("install -o root -g teachers -m 660 /dev/null ") + path;
}

QString refusalForRoot(const RoomLocation &room)
{
#ifdef Q_OS_UNIX
    if (::geteuid() != 0)
        return {};
    const QString shown = BookingLog(room).path();
    const QByteArray native = room.nativePath.isEmpty() ? QFile::encodeName(shown) : room.nativePath + ".dat";
    struct stat info = {};
    // Anything at the path, even what is no booking file, is for the board
    // to tell; only a missing file would be made here.
    if (::stat(native.constData(), &info) == 0 || errno != ENOENT)
        return {};
    return QStringLiteral("管理者（root）として起動されましたが、予約ファイル「%1」がまだありません。\n"
                          "ここで作ると root だけのファイルになり、先生方が予約できなくなるため、作らずに終了します。\n"
                          "次の1行で予約ファイルを作ってから、先生のアカウントで起動してください:\n\n%2")
        .arg(shown, installLine(shown));
#else
    Q_UNUSED(room);
    return {};
#endif
}

} // namespace BookingFileSetup
