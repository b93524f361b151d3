#include "board/InstalledName.h"

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

QString notARoomMessage(const QString &programPath)
{
#ifdef Q_OS_WIN
    const QString example = QStringLiteral("copy \"%1\" \"C:\\booking\\理科室.exe\"");
    const QString more;
#else
    const QString example = QStringLiteral("ln -s %1 /srv/booking/理科室");
    const QString more = QStringLiteral("\n\n詳しくは man roomboard をご覧ください。");
#endif
    return QStringLiteral("「%1」という名前では、どの部屋の予約ボードにもなりません。\n"
                          "部屋ごとに、部屋の名前を付けたこのプログラムのリンクかコピーを作り、"
                          "そこから起動してください。例えば理科室なら:\n\n%2%3")
        .arg(QStringLiteral(ROOMBOARD_INSTALLED_NAME),
             example.arg(QDir::toNativeSeparators(programPath)), more);
}

} // namespace InstalledName
