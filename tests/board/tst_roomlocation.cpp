#include "board/RoomLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestRoomLocation : public QObject
{
    Q_OBJECT
private slots:
    void fromExecutablePath_data();
    void fromExecutablePath();
#ifdef Q_OS_UNIX
    void invokedPathKeepsLinks();
    void invokedPathSearchesPath();
#endif
};

// An absolute path has a drive on Windows.
#ifdef Q_OS_WIN
#define ROOT "C:"
#else
#define ROOT ""
#endif

void TestRoomLocation::fromExecutablePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("room");

    QTest::newRow("japanese name") << ROOT "/srv/booking/理科室" << ROOT "/srv/booking" << QStringLiteral("理科室");
#ifdef Q_OS_WIN
    QTest::newRow("exe extension dropped") << "C:/booking/理科室.exe" << "C:/booking" << QStringLiteral("理科室");
#else
    QTest::newRow("dots are part of the name") << "/srv/b/PC室.2" << "/srv/b" << QStringLiteral("PC室.2");
#endif
    QTest::newRow("no trailing separator") << ROOT "/srv//booking/./理科室" << ROOT "/srv/booking" << QStringLiteral("理科室");
}

void TestRoomLocation::fromExecutablePath()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(QString, room);
    const RoomLocation location = RoomLocation::fromExecutablePath(path);
    QCOMPARE(location.folder, folder);
    QCOMPARE(location.roomName, room);
}

// Only Unix traces argv[0]: there a symbolic link named after a room serves
// that room.
#ifdef Q_OS_UNIX
void TestRoomLocation::invokedPathKeepsLinks()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("rooms"));
    const QString target = dir.filePath("roomboard");
    QFile exe(target);
    QVERIFY(exe.open(QIODevice::WriteOnly));
    exe.close();
    QVERIFY(QFile::link(target, dir.filePath("rooms/音楽室")));

    const QString invoked = RoomLocation::invokedPath("rooms/音楽室", dir.path(), QString());
    const RoomLocation location = RoomLocation::fromExecutablePath(invoked);
    QCOMPARE(location.roomName, QStringLiteral("音楽室"));
    QCOMPARE(location.folder, QDir::cleanPath(dir.filePath("rooms")));
}

void TestRoomLocation::invokedPathSearchesPath()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("bin"));
    QFile exe(dir.filePath("bin/家庭科室"));
    QVERIFY(exe.open(QIODevice::WriteOnly));
    exe.close();
    QVERIFY(exe.setPermissions(exe.permissions() | QFile::ExeOwner | QFile::ExeUser));

    const QString path = "/nonexistent" + QString(QDir::listSeparator()) + dir.filePath("bin");
    QCOMPARE(RoomLocation::invokedPath(QStringLiteral("家庭科室"), "/", path),
             QDir::cleanPath(dir.filePath("bin/家庭科室")));
    QCOMPARE(RoomLocation::invokedPath(QStringLiteral("ない"), "/", path), QString());
}
#endif

QTEST_GUILESS_MAIN(TestRoomLocation)
#include "tst_roomlocation.moc"
