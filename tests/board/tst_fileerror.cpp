#include "board/FileError.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class TestFileError : public QObject
{
    Q_OBJECT
private slots:
    // Every cause a system gives for a failed open, read or write has words
    // of its own in Japanese; a code without words keeps its number. What the
    // words are for a booking file's failures the booking log's test shows.
    void reason()
    {
        QTemporaryDir dir;
        const QFile nothing(dir.filePath("理科室.dat"));
#ifdef Q_OS_WIN
        const QList<int> causes{ERROR_ACCESS_DENIED, ERROR_PATH_NOT_FOUND, ERROR_HANDLE_DISK_FULL,
                                ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_BAD_NET_NAME,
                                ERROR_NETNAME_DELETED, ERROR_FILE_TOO_LARGE};
        const int other = ERROR_INVALID_PARAMETER;
#else
        const QList<int> causes{EACCES, ENOENT, ENOSPC, EDQUOT, EROFS, EFBIG,
                                ENAMETOOLONG, ELOOP, EMLINK, EISDIR, ENXIO, EIO};
        const int other = EINVAL;
#endif
        QSet<QString> seen;
        for (int cause : causes) {
            const QString words = FileError::reason(nothing, cause);
            QVERIFY2(!words.contains(QStringLiteral("エラー番号")) && !seen.contains(words), qPrintable(words));
            seen << words;
        }
        const QString fallback = QStringLiteral("システムのエラーです（エラー番号 %1）。");
        QCOMPARE(FileError::reason(nothing, other), fallback.arg(other));
        QCOMPARE(FileError::reason(nothing, 0), QStringLiteral("原因不明のエラーです。"));
    }
};

QTEST_GUILESS_MAIN(TestFileError)
#include "tst_fileerror.moc"
