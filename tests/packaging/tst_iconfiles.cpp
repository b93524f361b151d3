// The launcher's PNG and the Windows icon are committed copies of the image
// the program draws. After a change to the drawing they must be rewritten
// (`cmake --build <dir> --target icons`); until then this test fails.
#include "board/AppIcon.h"

#include <QFile>
#include <QImageReader>
#include <QTest>

namespace {

QString packagingFile(const char *name)
{
    return QStringLiteral(ROOMBOARD_PACKAGING_DIR "/") + QLatin1String(name);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

class TestIconFiles : public QObject
{
    Q_OBJECT
private slots:
    void sameImageAsDrawn_data();
    void sameImageAsDrawn();
    void storedAs24BitColour_data();
    void storedAs24BitColour();
};

void TestIconFiles::sameImageAsDrawn_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");

    QTest::newRow("launcher png") << packagingFile("roomboard.png") << QByteArray("png");
    QTest::newRow("windows ico") << packagingFile("roomboard.ico") << QByteArray("ico");
}

void TestIconFiles::sameImageAsDrawn()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, format);

    QImageReader reader(path, format);
    const QImage stored = reader.read();
    QVERIFY2(!stored.isNull(), qPrintable(path + QStringLiteral(": ") + reader.errorString()));
    QCOMPARE(stored.size(), QSize(64, 45));
    QCOMPARE(stored.convertToFormat(QImage::Format_RGB32),
             AppIcon::image().convertToFormat(QImage::Format_RGB32));
}

void TestIconFiles::storedAs24BitColour_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("fileSize");

    // IHDR: width 64, height 45, 8 bits a channel, colour type 2 (RGB, no
    // alpha), default compression and filter, no interlace.
    QTest::newRow("png header")
        << packagingFile("roomboard.png") << 8
        << QByteArray::fromHex("0000000d49484452" "00000040" "0000002d" "08" "02" "00" "00" "00") << -1;
    // One directory entry (64 × 45, 24 bits, 9040 bytes at offset 22), then a
    // bitmap header of twice the height, since the mask rows follow the colour
    // rows: 64 × 3 bytes × 45 rows and 8 bytes × 45 mask rows.
    QTest::newRow("ico directory and bitmap header")
        << packagingFile("roomboard.ico") << 0
        << QByteArray::fromHex("000001000100"
                               "402d0000" "0100" "1800" "50230000" "16000000"
                               "28000000" "40000000" "5a000000" "0100" "1800"
                               "00000000" "28230000" "00000000" "00000000"
                               "00000000" "00000000")
        << 22 + 40 + 64 * 3 * 45 + 8 * 45;
}

void TestIconFiles::storedAs24BitColour()
{
    QFETCH(QString, path);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(int, fileSize);

    const QByteArray file = readAll(path);
    QCOMPARE(file.mid(offset, bytes.size()).toHex(), bytes.toHex());
    if (fileSize >= 0)
        QCOMPARE(file.size(), fileSize);
}

QTEST_MAIN(TestIconFiles)
#include "tst_iconfiles.moc"
