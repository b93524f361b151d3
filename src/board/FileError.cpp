#include "board/FileError.h"

#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace FileError {

void clearCause()
{
    errno = 0;
#ifdef Q_OS_WIN
    ::SetLastError(ERROR_SUCCESS);
#endif
}

int lastCause()
{
#ifdef Q_OS_WIN
    return static_cast<int>(::GetLastError());
#else
    return errno;
#endif
}

QString reason(const QFileDevice &file, int savedErrno)
{
    if (QFileInfo(file.fileName()).isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
#ifdef Q_OS_WIN
    // Here the cause is a Windows error code, not errno.
    const QString known = windowsReason(static_cast<unsigned long>(savedErrno));
    if (!known.isEmpty())
        return known;
#else
    switch (savedErrno) {
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスが許可されていません。");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("フォルダーが見つかりません。");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("ディスクに空きがありません。");
    case EROFS:
        return QStringLiteral("読み取り専用の場所です。");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます。");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダーがあります。");
    default:
        break;
    }
#endif
    const QString detail = file.errorString();
    return detail.isEmpty() ? QStringLiteral("原因不明のエラーです。")
                            : QStringLiteral("エラー: %1").arg(detail);
}

#ifdef Q_OS_WIN
QString windowsReason(unsigned long lastError)
{
    switch (lastError) {
    case ERROR_SHARING_VIOLATION:
        return QStringLiteral("ほかのプログラムがファイルを使用中です。");
    case ERROR_LOCK_VIOLATION:
        return QStringLiteral("ファイルがほかのプログラムにロックされています。");
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return QStringLiteral("アクセスが許可されていません。");
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
        return QStringLiteral("フォルダーが見つかりません。");
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return QStringLiteral("共有フォルダーが見つかりません。");
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_DEV_NOT_EXIST:
        return QStringLiteral("共有フォルダーとの接続が切れました。");
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return QStringLiteral("ディスクに空きがありません。");
    case ERROR_FILE_TOO_LARGE:
        return QStringLiteral("ファイルが大きすぎます。");
    default:
        return {};
    }
}
#endif

} // namespace FileError
