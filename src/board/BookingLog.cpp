#include "board/BookingLog.h"

#include "board/BookingRecord.h"
#include "board/BookingReplay.h"
#include "board/FileError.h"
#include "board/FileLock.h"
#include "board/LineReader.h"

#include <QDir>
#include <QFile>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#endif

namespace {

const QByteArray Utf8ByteOrderMark("\xEF\xBB\xBF");

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
#if defined(Q_OS_UNIX)
    if (::fsync(file.handle()) != 0)
        return false;
#elif defined(Q_OS_WIN)
    if (!::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()))))
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
    FileError::clearCause();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = failure(CannotCreate, file, FileError::lastCause());
        return false;
    }
    file.close();
    return true;
}

bool BookingLog::readFrom(QFile &file, qint64 offset, BookingReplay &replay, QString *error)
{
    if (offset == 0) {
        const QByteArray head = file.peek(Utf8ByteOrderMark.size());
        m_readOnly = head == Utf8ByteOrderMark;
        replay.setEncoding(m_readOnly ? BookingReplay::Encoding::Utf8
                                      : BookingReplay::Encoding::Cp932);
        if (m_readOnly)
            offset = Utf8ByteOrderMark.size();
    }
    FileError::clearCause();
    if (offset != file.pos() && !file.seek(offset)) {
        if (error)
            *error = failure(CannotRead, file, FileError::lastCause());
        return false;
    }

    LineReader reader(file, offset, file.size());
    QByteArrayView line;
    while (reader.next(line))
        replay.addLine(line);
    if (reader.failed()) {
        if (error)
            *error = failure(CannotRead, file, FileError::lastCause());
        return false;
    }
    m_consumed = reader.completeEnd();
    return true;
}

bool BookingLog::replay(BookingReplay &replay, QString *error)
{
    if (!createIfMissing(error))
        return false;

    QFile file(m_path);
    FileError::clearCause();
    // A file that vanished between the check and the open is created once
    // more, and only once.
    if (!file.open(QIODevice::ReadOnly)) {
        if (!createIfMissing(error))
            return false;
        FileError::clearCause();
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = failure(CannotRead, file, FileError::lastCause());
            return false;
        }
    }
    return readFrom(file, 0, replay, error);
}

bool BookingLog::catchUp(BookingReplay &replay, QString *error)
{
    QFile file(m_path);
    FileError::clearCause();
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = failure(CannotRead, file, FileError::lastCause());
        return false;
    }
    // A log only grows. One that shrank was replaced: start it over.
    if (file.size() < m_consumed) {
        replay.clearSlots();
        m_consumed = 0;
    }
    return readFrom(file, m_consumed, replay, error);
}

BookingLog::Outcome BookingLog::write(BookingReplay &replay, const QString &key,
                                      const QString &expected, const QString &text,
                                      QString *error)
{
    const auto record = BookingRecord::format(key, text);
    if (!record) {
        if (error)
            *error = CannotWrite.arg(QDir::toNativeSeparators(m_path))
                + QStringLiteral("\n保存できない文字が含まれています。");
        return Outcome::Failed;
    }
    if (m_readOnly)
        return Outcome::ReadOnly;

    QFile file(m_path);
    FileError::clearCause();
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = failure(CannotWrite, file, FileError::lastCause());
        return Outcome::Failed;
    }
    const FileLock lock(file, LockTimeout);
    if (!lock.isLocked())
        return Outcome::Busy;

    if (file.size() < m_consumed) {
        replay.clearSlots();
        m_consumed = 0;
    }
    if (!readFrom(file, m_consumed, replay, error))
        return Outcome::Failed;
    if (m_readOnly)
        return Outcome::ReadOnly;
    const int slot = replay.slotForKey(key.toLatin1());
    if (slot == 0 || replay.slotText(slot) != expected)
        return Outcome::SlotChanged;

    const qint64 before = file.size();
    if (!appendLocked(file, *record, error))
        return Outcome::Failed;
    // The record just written is known without reading it back; skipping
    // it is safe only when it directly followed what was already read.
    const qint64 after = file.size();
    if (m_consumed == before && after == before + record->size())
        m_consumed = after;
    replay.setSlotText(slot, text);
    return Outcome::Written;
}

bool BookingLog::appendLocked(QFile &file, const QByteArray &record, QString *error)
{
    const qint64 before = file.size();
    QByteArray bytes;
    // A line cut off by a crash or an editor stays a line of its own, so the
    // new record is not glued onto it.
    if (before > 0) {
        char last = '\n';
        FileError::clearCause();
        if (!file.seek(before - 1) || file.read(&last, 1) != 1) {
            if (error)
                *error = failure(CannotRead, file, FileError::lastCause());
            return false;
        }
        if (last != '\n')
            bytes += "\r\n";
    }
    bytes += record;

    // One write call: a reader never sees the line in pieces from us.
    FileError::clearCause();
    const bool written = file.write(bytes) == bytes.size() && syncToDisk(file);
    if (!written) {
        const int cause = FileError::lastCause();
        // Take back whatever part did reach the file: a half record must not
        // be left behind for a booking the teacher was told had failed.
        file.resize(before);
        if (error)
            *error = failure(CannotWrite, file, cause);
        return false;
    }
    return true;
}
