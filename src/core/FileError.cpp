#include "core/FileError.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace FileError {

namespace {

#ifndef Q_OS_WIN
// errno values, as the C library reports them; kept apart from any other
// platform's error codes. Empty for a value without words of its own.
QString reasonForErrno(int savedErrno)
{
    switch (savedErrno) {
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスが許可されていません。");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("フォルダーが見つかりません。");
    case ENOSPC:
        return QStringLiteral("ディスクに空きがありません。");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("ディスクの使用量が上限（クォータ）に達しています。");
#endif
    case EROFS:
        return QStringLiteral("読み取り専用のファイルシステムです。");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます。");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます。");
    case ELOOP:
        return QStringLiteral("リンクが多すぎるか、循環しています。");
    case EMLINK:
        return QStringLiteral("リンクの数が多すぎます。");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダーがあります。");
    case ENXIO:
    case ENODEV:
    case ESPIPE:
        return QStringLiteral("通常のファイルではありません。");
    case EIO:
        return QStringLiteral("入出力エラーです。ディスクかネットワークに障害があるかもしれません。");
    // A network folder mounted without its lock service.
    case ENOLCK:
    case ENOSYS:
    case EOPNOTSUPP:
        return QStringLiteral(
            "ここではファイルのロックが使えません。共有フォルダーの設定を確かめてください。");
    default:
        return {};
    }
}

#endif

} // namespace

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
    const QFileInfo info(file.fileName());
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
#ifdef Q_OS_WIN
    // Here the cause is a Windows error code, not errno.
    if (const QString words = windowsReason(static_cast<unsigned long>(savedErrno)); !words.isEmpty())
        return words;
#else
    if (savedErrno == ENOENT && info.isSymbolicLink() && !info.exists())
        return QStringLiteral("リンク先「%1」が見つかりません。")
            .arg(QDir::toNativeSeparators(info.symLinkTarget()));
    if (const QString words = reasonForErrno(savedErrno); !words.isEmpty())
        return words;
#endif
    // Without words for the code, what lies at the path may explain it.
    if (info.exists() && !info.isFile())
        return QStringLiteral("通常のファイルではありません。");
    // The number still lets the cause be looked up.
    return savedErrno == 0 ? QStringLiteral("原因不明のエラーです。")
                           : QStringLiteral("システムのエラーです（エラー番号 %1）。").arg(savedErrno);
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
