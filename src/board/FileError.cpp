#include "board/FileError.h"

#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>

namespace FileError {

QString reason(const QFileDevice &file, int savedErrno)
{
    if (QFileInfo(file.fileName()).isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
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
    const QString detail = file.errorString();
    return detail.isEmpty() ? QStringLiteral("原因不明のエラーです。")
                            : QStringLiteral("エラー: %1").arg(detail);
}

} // namespace FileError
