#include "board/FileError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#else
#include <windows.h>
#endif

// Every cause a system gives has words in Japanese; a code without words
// keeps its number, and what lies at the path may explain it instead.
class TestFileError : public QObject
{
    Q_OBJECT
private slots:
    void reason_data();
    void reason();
};

void TestFileError::reason_data()
{
    QTest::addColumn<QString>("atPath"); // what lies at the booking file's path
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");

    const QString nothing;
#ifdef Q_OS_WIN
    // Windows' file functions report GetLastError() codes, not errno.
    QTest::newRow("access denied") << nothing << int(ERROR_ACCESS_DENIED) << "アクセスが許可されていません。";
    QTest::newRow("folder gone") << nothing << int(ERROR_PATH_NOT_FOUND) << "フォルダーが見つかりません。";
    QTest::newRow("disk full") << nothing << int(ERROR_HANDLE_DISK_FULL) << "ディスクに空きがありません。";
    QTest::newRow("file held open") << nothing << int(ERROR_SHARING_VIOLATION) << "ほかのプログラムがファイルを使用中です。";
    QTest::newRow("range locked") << nothing << int(ERROR_LOCK_VIOLATION) << "ファイルがほかのプログラムにロックされています。";
    QTest::newRow("share gone") << nothing << int(ERROR_BAD_NET_NAME) << "共有フォルダーが見つかりません。";
    QTest::newRow("share dropped") << nothing << int(ERROR_NETNAME_DELETED) << "共有フォルダーとの接続が切れました。";
    QTest::newRow("file too large") << nothing << int(ERROR_FILE_TOO_LARGE) << "ファイルが大きすぎます。";
    const int otherCode = ERROR_INVALID_PARAMETER;
    const int denied = ERROR_ACCESS_DENIED;
#else
    QTest::newRow("access denied") << nothing << EACCES << "アクセスが許可されていません。";
    QTest::newRow("folder gone") << nothing << ENOENT << "フォルダーが見つかりません。";
    QTest::newRow("disk full") << nothing << ENOSPC << "ディスクに空きがありません。";
#ifdef EDQUOT
    QTest::newRow("over quota") << nothing << EDQUOT << "ディスクの使用量が上限（クォータ）に達しています。";
#endif
    QTest::newRow("read-only file system") << nothing << EROFS << "読み取り専用のファイルシステムです。";
    QTest::newRow("name too long") << nothing << ENAMETOOLONG << "ファイル名が長すぎます。";
    QTest::newRow("links in a loop") << nothing << ELOOP << "リンクが多すぎるか、循環しています。";
    QTest::newRow("too many links") << nothing << EMLINK << "リンクの数が多すぎます。";
    QTest::newRow("input/output error") << nothing << EIO
                                        << "入出力エラーです。ディスクかネットワークに障害があるかもしれません。";
    const int otherCode = EINVAL;
    const int denied = EACCES;
#endif
    QTest::newRow("no cause known") << nothing << 0 << "原因不明のエラーです。";
    QTest::newRow("other code keeps its number")
        << nothing << otherCode << QStringLiteral("システムのエラーです（エラー番号 %1）。").arg(otherCode);
    QTest::newRow("folder in the way") << "folder" << denied << "同じ名前のフォルダーがあります。";
#ifdef Q_OS_UNIX
    QTest::newRow("link to a missing target") << "dangling link" << ENOENT << "リンク先「%1」が見つかりません。";
    QTest::newRow("fifo in the way") << "fifo" << EINVAL << "通常のファイルではありません。";
#endif
}

void TestFileError::reason()
{
    QFETCH(QString, atPath);
    QFETCH(int, code);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QString path = dir.filePath("理科室.dat"), target = dir.filePath("gone/理科室.dat");
    if (atPath == "folder")
        QVERIFY(QDir(dir.path()).mkdir("理科室.dat"));
    else if (atPath == "dangling link")
        QVERIFY(QFile::link(target, path));
#ifdef Q_OS_UNIX
    else if (atPath == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    QCOMPARE(FileError::reason(QFile(path), code), expected.replace("%1", target));
}

QTEST_GUILESS_MAIN(TestFileError)
#include "tst_fileerror.moc"
