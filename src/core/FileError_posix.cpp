#include "core/FileError.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace FileError {

QString systemReason(const QFileInfo &info, int code)
{
    if (code == ENOENT && info.isSymbolicLink() && !info.exists())
        return QStringLiteral("リンク先「%1」が見つかりません。")
            .arg(QDir::toNativeSeparators(info.symLinkTarget()));
#ifdef EDQUOT
    if (code == EDQUOT)
        return QStringLiteral("ディスクの使用量が上限（クォータ）に達しています。");
#endif
    return errnoReason(code);
}

} // namespace FileError
