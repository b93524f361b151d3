// The Windows icon and the icon theme's files are committed copies of what
// the program draws. After a change to the drawing they must be rewritten
// (`cmake --build <dir> --target icons`); until then this test fails.
#include "board/AppIcon.h"

#include <QtGui>
#include <QtTest>

namespace {

QByteArray packagingFile(const QString &name)
{
    QFile file(QStringLiteral(ROOMBOARD_PACKAGING_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestIconFiles : public QObject
{
    Q_OBJECT
private slots:
    void sameAsDrawn_data();
    void sameAsDrawn();
};

void TestIconFiles::sameAsDrawn_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QImage>("drawn"); // none: the scalable drawing

    QTest::newRow("windows ico") << "roomboard.ico" << AppIcon::image();
    QTest::newRow("svg") << "hicolor/scalable/apps/roomboard.svg" << QImage();
    for (const int size : AppIcon::ThemeSizes) {
        const QString path = QStringLiteral("hicolor/%1x%1/apps/roomboard.png").arg(size);
        QTest::newRow(qPrintable(path)) << path << AppIcon::square(size);
    }
}

void TestIconFiles::sameAsDrawn()
{
    QFETCH(QString, path);
    QFETCH(QImage, drawn);
    const QByteArray bytes = packagingFile(path);
    if (drawn.isNull()) {
        QCOMPARE(bytes, AppIcon::svg());
        return;
    }
    const QImage stored = QImage::fromData(bytes);
    QCOMPARE(stored.convertToFormat(QImage::Format_ARGB32), drawn.convertToFormat(QImage::Format_ARGB32));
    if (!path.endsWith(".ico"))
        return;
    // One directory entry (64 × 45, 24 bits, 9040 bytes at offset 22), then a
    // bitmap header of twice the height, since the mask rows follow the colour
    // rows: 64 × 3 bytes × 45 rows and 8 bytes × 45 mask rows.
    QCOMPARE(bytes.left(62).toHex(), QByteArray("000001000100" "402d0000" "0100" "1800" "50230000" "16000000"
                                                 "28000000" "40000000" "5a000000" "0100" "1800" "00000000"
                                                 "28230000" "00000000" "00000000" "00000000" "00000000"));
    QCOMPARE(bytes.size(), 22 + 40 + 64 * 3 * 45 + 8 * 45);
}

QTEST_MAIN(TestIconFiles)
#include "tst_iconfiles.moc"
