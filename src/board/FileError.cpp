#include "board/FileError.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>

namespace FileError {

namespace {

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
    default:
        return {};
    }
}

} // namespace

QString reason(const QFileDevice &file, int savedErrno)
{
    const QFileInfo info(file.fileName());
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    if (savedErrno == ENOENT && info.isSymbolicLink() && !info.exists())
        return QStringLiteral("リンク先「%1」が見つかりません。")
            .arg(QDir::toNativeSeparators(info.symLinkTarget()));
    if (const QString words = reasonForErrno(savedErrno); !words.isEmpty())
        return words;
    // Without words for the code, what lies at the path may explain it.
    if (info.exists() && !info.isFile())
        return QStringLiteral("通常のファイルではありません。");
    // The number still lets the cause be looked up.
    return savedErrno == 0 ? QStringLiteral("原因不明のエラーです。")
                           : QStringLiteral("システムのエラーです（エラー番号 %1）。").arg(savedErrno);
}

} // namespace FileError
