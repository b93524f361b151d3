// The Windows icon and the icon theme's files are committed copies of what
// the program draws. After a change to the drawing they must be rewritten
// (`cmake --build <dir> --target icons`); until then this test fails.
#include "widgets/AppIcon.h"

#include <QtGui>
#include <QtTest>

class TestIconFiles : public QObject
{
    Q_OBJECT
private slots:
    void sameAsDrawn_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QImage>("drawn"); // none: the scalable drawing
        QTest::newRow("windows ico") << "roomboard.ico" << AppIcon::image();
        QTest::newRow("svg") << "hicolor/scalable/apps/roomboard.svg" << QImage();
        for (const int size : AppIcon::ThemeSizes)
            QTest::addRow("%dx%d png", size, size) << QStringLiteral("hicolor/%1x%1/apps/roomboard.png").arg(size)
                                                   << AppIcon::square(size);
    }
    void sameAsDrawn()
    {
        QFETCH(QString, path);
        QFETCH(QImage, drawn);
        QFile file(QStringLiteral(ROOMBOARD_PACKAGING_DIR "/") + path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (drawn.isNull())
            QCOMPARE(bytes, AppIcon::svg());
        else
            QCOMPARE(QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32), drawn.convertToFormat(QImage::Format_ARGB32));
    }
};

QTEST_MAIN(TestIconFiles)
#include "tst_iconfiles.moc"
