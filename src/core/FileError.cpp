#include "core/FileError.h"

#include <QFileInfo>

namespace FileError {

QString errnoReason(int code)
{
    switch (std::errc(code)) {
    case std::errc::permission_denied:
    case std::errc::operation_not_permitted:
        return QStringLiteral("アクセスが許可されていません。");
    case std::errc::no_such_file_or_directory:
    case std::errc::not_a_directory:
        return QStringLiteral("フォルダーが見つかりません。");
    case std::errc::no_space_on_device:
        return QStringLiteral("ディスクに空きがありません。");
    case std::errc::read_only_file_system:
        return QStringLiteral("読み取り専用のファイルシステムです。");
    case std::errc::file_too_large:
        return QStringLiteral("ファイルが大きすぎます。");
    case std::errc::filename_too_long:
        return QStringLiteral("ファイル名が長すぎます。");
    case std::errc::too_many_symbolic_link_levels:
        return QStringLiteral("リンクが多すぎるか、循環しています。");
    case std::errc::too_many_links:
        return QStringLiteral("リンクの数が多すぎます。");
    case std::errc::is_a_directory:
        return QStringLiteral("同じ名前のフォルダーがあります。");
    case std::errc::no_such_device_or_address:
    case std::errc::no_such_device:
    case std::errc::invalid_seek:
        return QStringLiteral("通常のファイルではありません。");
    case std::errc::io_error:
        return QStringLiteral("入出力エラーです。ディスクかネットワークに障害があるかもしれません。");
    // A network folder mounted without its lock service.
    case std::errc::no_lock_available:
    case std::errc::function_not_supported:
    case std::errc::operation_not_supported:
        return QStringLiteral(
            "ここではファイルのロックが使えません。共有フォルダーの設定を確かめてください。");
    default:
        return {};
    }
}

QString reason(const QString &path, std::error_code cause)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    const QString words = cause.category() == std::system_category() ? systemReason(info, cause.value())
                                                                      : errnoReason(cause.value());
    if (!words.isEmpty())
        return words;
    // Without words for the code, what lies at the path may explain it.
    if (info.exists() && !info.isFile())
        return QStringLiteral("通常のファイルではありません。");
    // The number still lets the cause be looked up.
    return !cause ? QStringLiteral("原因不明のエラーです。")
                  : QStringLiteral("システムのエラーです（エラー番号 %1）。").arg(cause.value());
}

} // namespace FileError
