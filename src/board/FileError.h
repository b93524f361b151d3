#pragma once

#include <QString>

class QFileDevice;

// Why a file operation failed, in Japanese words a teacher can pass on to
// whoever looks after the school's computers. Never the system's or Qt's own
// English text.
namespace FileError {

// Call right after the failing operation: errno still holds the cause.
QString reason(const QFileDevice &file, int savedErrno);

} // namespace FileError
