#pragma once

#include <QString>

class QFileDevice;

// Why a file operation failed, in Japanese words a teacher can pass on to
// whoever looks after the school's computers. Never the system's or Qt's own
// English text.
namespace FileError {

// The system's own record of why the last file operation failed: errno, or
// on Windows GetLastError(), since Qt's Windows file code leaves errno alone.
// Clear it before the operation and read it right after the failure, before
// any other call can overwrite it.
void clearCause();
int lastCause();

// savedErrno: what lastCause() returned right after the failing operation
// (on Windows a Windows error code).
QString reason(const QFileDevice &file, int savedErrno);

#ifdef Q_OS_WIN
// The Windows error codes a school meets on its PCs and shares; empty for
// any other code.
QString windowsReason(unsigned long lastError);
#endif

} // namespace FileError
