// The Windows icon and the icon theme's files are committed copies of what
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
    void scalableAsDrawn();
    void storedAs24BitColour_data();
    void storedAs24BitColour();
};

void TestIconFiles::sameImageAsDrawn_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QImage>("drawn");

    QTest::newRow("windows ico") << packagingFile("roomboard.ico") << QByteArray("ico") << AppIcon::image();
    for (const int size : AppIcon::ThemeSizes) {
        const QString path = QStringLiteral("hicolor/%1x%1/apps/roomboard.png").arg(size);
        QTest::newRow(qPrintable(path)) << packagingFile(qPrintable(path)) << QByteArray("png")
                                        << AppIcon::square(size);
    }
}

void TestIconFiles::sameImageAsDrawn()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, format);
    QFETCH(QImage, drawn);

    QImageReader reader(path, format);
    const QImage stored = reader.read();
    QVERIFY2(!stored.isNull(), qPrintable(path + QStringLiteral(": ") + reader.errorString()));
    QCOMPARE(stored.convertToFormat(QImage::Format_ARGB32), drawn.convertToFormat(QImage::Format_ARGB32));
}

void TestIconFiles::scalableAsDrawn()
{
    QCOMPARE(readAll(packagingFile("hicolor/scalable/apps/roomboard.svg")), AppIcon::svg());
}

void TestIconFiles::storedAs24BitColour_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("fileSize");

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
