#include "core/InstalledName.h"

#include "core/BookingFileSetup.h"

#include <QDir>

namespace InstalledName {

bool matches(const QString &roomName)
{
    const QString installed = QStringLiteral(ROOMBOARD_INSTALLED_NAME);
#ifdef Q_OS_WIN
    return roomName.compare(installed, Qt::CaseInsensitive) == 0;
#else
    return roomName == installed;
#endif
}

QString notARoomMessage(const QString &roomName, const QString &programPath)
{
#ifdef Q_OS_WIN
    const QString example = QStringLiteral("copy \"%1\" \"C:\\booking\\理科室.exe\"");
    const QString more;
#else
    // The booking file too: made by the board, it would belong to whoever
    // opened the room first, and the other teachers could not write it.
    const QString example = QStringLiteral("ln -s %1 /srv/booking/理科室\n")
        + BookingFileSetup::installLine(QStringLiteral("/srv/booking/理科室.dat"));
    const QString more = QStringLiteral("\n\n2行目は、先生方（グループ teachers）が書き込める予約ファイルを作ります。"
                                        "どちらも管理者（root）が行ってください。"
                                        "\n\n詳しくは man roomboard をご覧ください。");
#endif
    QString why = roomName.isEmpty()
        ? QStringLiteral("名前のないプログラムは、どの部屋の予約ボードにもなりません。")
        : QStringLiteral("「%1」という名前では、どの部屋の予約ボードにもなりません。").arg(roomName);
    if (roomName.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
        why += QStringLiteral("名前が .dat で終わるファイルは、部屋の予約ファイルです。");
    // Filled in before the name is added: a name may hold "%1" itself.
    return why + QStringLiteral("\n部屋ごとに、部屋の名前を付けたこのプログラムのリンクかコピーを作り、"
                                "そこから起動してください。例えば理科室なら:\n\n%1%2")
                     .arg(example.arg(QDir::toNativeSeparators(programPath)), more);
}

} // namespace InstalledName
