#pragma once

#include <QString>
#include <system_error>

class QFileInfo;

// Why a file operation failed, in Japanese words a teacher can pass on to
// whoever looks after the school's computers. Never the system's or Qt's own
// English text.
namespace FileError {

// `cause` as FileSystem returns it, for the file at `path`.
QString reason(const QString &path, std::error_code cause);

// The words for the system's own error code (errno, or on Windows
// GetLastError()); empty for a code without words of its own.
QString systemReason(const QFileInfo &info, int code);
// The words for an errno value, on any system; empty as above.
QString errnoReason(int code);

} // namespace FileError
