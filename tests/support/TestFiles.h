#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

// A file's bytes as a test reads them back.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// As another program writes: without the board's lock. Every version bears
// the same time of writing: only the time of the change tells a rewrite of
// the same length.
inline bool writeAll(const QString &path, const QByteArray &bytes, QIODevice::OpenMode mode = QIODevice::Truncate)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | mode) && file.write(bytes) == bytes.size() && file.flush()
        && file.setFileTime(QDateTime(QDate(2018, 8, 1), QTime(8, 0)), QFile::FileModificationTime);
}

// Another board's records appended, or "folder": a folder in the file's place.
inline void change(const QString &path, const QByteArray &bytes)
{
    QVERIFY(bytes == "folder" ? QFile::remove(path) && QDir().mkdir(path) : writeAll(path, bytes, QIODevice::Append));
}
