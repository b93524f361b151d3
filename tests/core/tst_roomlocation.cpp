#include "core/BookingFileSetup.h"
#include "core/InstalledName.h"
#include "core/RoomLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestRoomLocation : public QObject
{
    Q_OBJECT
private slots:
    // A link or copy of the program named after a room serves that room from
    // its own folder; the program under its installed name serves none, nor
    // under a booking file's name or none at all.
    void fromExecutablePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("room"); // empty: no room

        const QString root = QDir::rootPath(); // with a drive on Windows
        QTest::newRow("japanese name") << root + "srv//booking/./理科室" << root + "srv/booking" << "理科室";
        QTest::newRow("installed program") << root + "usr/bin/roomboard" << root + "usr/bin" << "";
        QTest::newRow("name that only begins alike") << root + "srv/roomboard2" << root + "srv" << "roomboard2";
        QTest::newRow("booking file's name") << root + "srv/理科室.dat" << root + "srv" << "";
        QTest::newRow("no name") << root + "srv/booking/" << root + "srv/booking" << "";
        QTest::newRow("a folder's name") << root + "srv/b/.." << root << "";
#ifdef Q_OS_WIN
        QTest::newRow("exe extension dropped") << "C:/booking/理科室.exe" << "C:/booking" << "理科室";
        QTest::newRow("installed name in capitals") << "C:/Programs/roomboard/ROOMBOARD.EXE" << "C:/Programs/roomboard" << "";
        QTest::newRow("program copied as a booking file") << "C:/booking/理科室.dat" << "C:/booking" << "";
        QTest::newRow("booking file's name in capitals") << "C:/booking/理科室.DAT.exe" << "C:/booking" << "";
        QTest::newRow("exe extension alone") << "C:/booking/.exe" << "C:/booking" << "";
#else
        QTest::newRow("dots are part of the name") << "/srv/b/PC室.2" << "/srv/b" << "PC室.2";
        QTest::newRow("other case is another name") << "/srv/Roomboard" << "/srv" << "Roomboard";
        QTest::newRow("booking file's name in capitals") << "/srv/b/理科室.Dat" << "/srv/b" << ""; // on a share from Windows
#endif
    }

    void fromExecutablePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(QString, room);

        const RoomLocation location = RoomLocation::fromExecutablePath(path);
        QCOMPARE(location.folder, folder);
        QCOMPARE(location.isRoom(), !room.isEmpty());
        if (!room.isEmpty())
            QCOMPARE(location.roomName, room);
    }

    // What the refusal tells the administrator: a booking file's name is
    // named as such, and a path is quoted only where a shell would split it.
    void adviceOnRefusal()
    {
        const auto saysDat = [](const QString &name) { return InstalledName::notARoomMessage(name, "/p").contains(".dat で終わるファイルは、部屋の予約ファイル"); };
        QVERIFY(saysDat("理科室.DAT") && !saysDat("roomboard"));
        QCOMPARE(BookingFileSetup::installLine("/srv/理科室.dat").section(' ', 8), "/srv/理科室.dat");
        QCOMPARE(BookingFileSetup::installLine("/srv/it's 理科室.dat").section(' ', 8), "'/srv/it'\\''s 理科室.dat'");
    }

#ifdef Q_OS_UNIX
    // Traced from argv[0] by the working folder or the search path: the link
    // that was started, not the program it leads to, in a folder named by
    // its real path.
    void invokedPath()
    {
        QTemporaryDir dir;
        const QByteArray root = QFile::encodeName(QFileInfo(dir.path()).canonicalFilePath());
        QVERIFY(QDir(dir.path()).mkdir("rooms") && QDir(dir.path()).mkdir("bin"));
        QFile exe(dir.filePath("bin/家庭科室"));
        QVERIFY(exe.open(QIODevice::WriteOnly) && exe.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(QFile::link(exe.fileName(), dir.filePath("rooms/音楽室")));
        QFile notRunnable(dir.filePath("rooms/家庭科室"));
        QVERIFY(notRunnable.open(QIODevice::WriteOnly));

        const QByteArray search = "/nonexistent::rooms:bin";
        QCOMPARE(RoomLocation::invokedPath("rooms/音楽室", root, search), root + "/rooms/音楽室");
        QCOMPARE(RoomLocation::invokedPath("../rooms/音楽室", root + "/bin", search), root + "/rooms/音楽室");
        QCOMPARE(RoomLocation::invokedPath(root + "/rooms/音楽室", "/", search), root + "/rooms/音楽室");
        QCOMPARE(RoomLocation::invokedPath("家庭科室", root, search), root + "/bin/家庭科室");
        QCOMPARE(RoomLocation::invokedPath("音楽室", root, search), root + "/rooms/音楽室");
        QCOMPARE(RoomLocation::invokedPath("ない", root, search), QByteArray());
        QCOMPARE(RoomLocation::invokedPath("", root, search), QByteArray());
    }
#endif
};

QTEST_GUILESS_MAIN(TestRoomLocation)
#include "tst_roomlocation.moc"
