#include "core/FileError.h"

#include <windows.h>

namespace FileError {

// The Windows error codes a school meets on its PCs and shares.
QString systemReason(const QFileInfo &, int code)
{
    switch (DWORD(code)) {
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

} // namespace FileError
