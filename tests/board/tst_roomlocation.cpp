#include "board/InstalledName.h"
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
    void installedNameIsNoRoom_data();
    void installedNameIsNoRoom();
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

    const QByteArray invoked = RoomLocation::invokedPath("rooms/音楽室", QFile::encodeName(dir.path()), {});
    const RoomLocation location = RoomLocation::fromNativePath(invoked);
    QCOMPARE(location.roomName, QStringLiteral("音楽室"));
    QCOMPARE(location.folder, QDir::cleanPath(dir.filePath("rooms")));
}

void TestRoomLocation::invokedPathSearchesPath()
{
#ifndef Q_OS_UNIX
    QSKIP("the program is traced by argv[0] on Unix only");
#endif
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("bin"));
    QFile exe(dir.filePath("bin/家庭科室"));
    QVERIFY(exe.open(QIODevice::WriteOnly));
    exe.close();
    QVERIFY(exe.setPermissions(exe.permissions() | QFile::ExeOwner | QFile::ExeUser));

    const QByteArray path = "/nonexistent:" + QFile::encodeName(dir.filePath("bin"));
    QCOMPARE(RoomLocation::invokedPath("家庭科室", "/", path), QFile::encodeName(dir.filePath("bin/家庭科室")));
    QCOMPARE(RoomLocation::invokedPath("ない", "/", path), QByteArray());
}
#endif

void TestRoomLocation::installedNameIsNoRoom_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isRoom");

    QTest::newRow("installed program") << "/usr/bin/roomboard" << false;
    QTest::newRow("the build's own program") << "/home/t/roomboard/build/roomboard" << false;
    QTest::newRow("link named after a room") << "/srv/booking/理科室" << true;
    QTest::newRow("name that only begins alike") << "/srv/booking/roomboard2" << true;
#ifdef Q_OS_WIN
    QTest::newRow("installed name in capitals") << "C:/Program Files/roomboard/ROOMBOARD.EXE" << false;
#else
    QTest::newRow("other case is another name") << "/srv/booking/Roomboard" << true;
#endif
}

void TestRoomLocation::installedNameIsNoRoom()
{
    QFETCH(QString, path);
    QFETCH(bool, isRoom);
    QCOMPARE(!InstalledName::matches(RoomLocation::fromExecutablePath(path).roomName), isRoom);
#ifndef Q_OS_WIN
    QVERIFY(InstalledName::notARoomMessage(path).contains(
        QStringLiteral("\n\nln -s %1 /srv/booking/理科室\n").arg(path)));
#endif
}

QTEST_GUILESS_MAIN(TestRoomLocation)
#include "tst_roomlocation.moc"
