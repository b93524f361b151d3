#include "board/BookingLog.h"

#include "board/BookingRecord.h"
#include "board/BookingReplay.h"
#include "board/FileError.h"
#include "board/LineReader.h"

#include <QDir>
#include <QFile>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// headline holds %1 for the file's name.
QString failure(const QString &headline, const QFile &file, int savedErrno)
{
    return headline.arg(QDir::toNativeSeparators(file.fileName())) + QLatin1Char('\n')
        + FileError::reason(file, savedErrno);
}

const auto CannotCreate = QStringLiteral("予約ファイル「%1」を作成できません。");
const auto CannotRead = QStringLiteral("予約ファイル「%1」を読み込めません。");
const auto CannotWrite = QStringLiteral("予約ファイル「%1」に書き込めません。");

bool syncToDisk(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0)
        return false;
#endif
    return true;
}

} // namespace

BookingLog::BookingLog(const QString &folder, const QString &roomName)
    : m_path(QDir(folder).filePath(roomName + QStringLiteral(".dat")))
{
}

bool BookingLog::createIfMissing(QString *error) const
{
    QFile file(m_path);
    if (file.exists())
        return true;
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = failure(CannotCreate, file, errno);
        return false;
    }
    file.close();
    return true;
}

bool BookingLog::replay(BookingReplay &replay, QString *error) const
{
    if (!createIfMissing(error))
        return false;

    QFile file(m_path);
    errno = 0;
    // A file that vanished between the check and the open is created once
    // more, and only once.
    if (!file.open(QIODevice::ReadOnly)) {
        if (!createIfMissing(error))
            return false;
        errno = 0;
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = failure(CannotRead, file, errno);
            return false;
        }
    }

    LineReader reader(file);
    QByteArrayView line;
    while (reader.next(line))
        replay.addLine(line);
    if (reader.failed()) {
        if (error)
            *error = failure(CannotRead, file, errno);
        return false;
    }
    return true;
}

bool BookingLog::append(const QString &key, const QString &text, QString *error) const
{
    const auto record = BookingRecord::format(key, text);
    QFile file(m_path);
    if (!record) {
        if (error)
            *error = CannotWrite.arg(QDir::toNativeSeparators(m_path))
                + QStringLiteral("\n保存できない文字が含まれています。");
        return false;
    }

    errno = 0;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = failure(CannotWrite, file, errno);
        return false;
    }

    const qint64 before = file.size();
    QByteArray bytes;
    // A line cut off by a crash or an editor stays a line of its own, so the
    // new record is not glued onto it.
    if (before > 0) {
        char last = '\n';
        if (!file.seek(before - 1) || file.read(&last, 1) != 1) {
            if (error)
                *error = failure(CannotRead, file, errno);
            return false;
        }
        if (last != '\n')
            bytes += "\r\n";
    }
    bytes += *record;

    errno = 0;
    const bool written = file.write(bytes) == bytes.size() && syncToDisk(file);
    if (!written) {
        const int cause = errno;
        // Take back whatever part did reach the file: a half record must not
        // be left behind for a booking the teacher was told had failed.
        file.resize(before);
        if (error)
            *error = failure(CannotWrite, file, cause);
        return false;
    }
    return true;
}
