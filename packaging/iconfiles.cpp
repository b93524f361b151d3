// Writes the icon files that packaging needs from the image the program draws:
//   roomboard_iconfiles OUTPUT-DIR
// gives OUTPUT-DIR/roomboard.ico (the Windows executable's icon) and, for the
// desktop's icon theme, OUTPUT-DIR/hicolor/<N>x<N>/apps/roomboard.png at each
// of AppIcon::ThemeSizes and hicolor/scalable/apps/roomboard.svg. All are committed;
// `cmake --build <dir> --target icons` rewrites them after the drawing
// changes, and a test fails while they differ from it.
#include "widgets/AppIcon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QtEndian>

#include <cstdio>

namespace {

void putLe16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putLe32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// Qt's own ICO writer always stores 32 bits a pixel with alpha; the
// executable's icon is meant to be 24-bit colour, so the file is laid out
// here: one directory entry, a bottom-up BGR bitmap and an all-opaque mask.
QByteArray icoOf(const QImage &source)
{
    const QImage img = source.convertToFormat(QImage::Format_RGB888);
    const int w = img.width();
    const int h = img.height();
    const int colourStride = (w * 3 + 3) / 4 * 4;
    const int maskStride = ((w + 7) / 8 + 3) / 4 * 4;
    const quint32 bitmapSize = 40 + colourStride * h + maskStride * h;

    QByteArray out;
    putLe16(out, 0); // reserved
    putLe16(out, 1); // type: icon
    putLe16(out, 1); // one image
    out.append(char(w >= 256 ? 0 : w));
    out.append(char(h >= 256 ? 0 : h));
    out.append(char(0)); // no palette
    out.append(char(0));
    putLe16(out, 1);  // planes
    putLe16(out, 24); // bits a pixel
    putLe32(out, bitmapSize);
    putLe32(out, 6 + 16); // the bitmap follows the one entry

    putLe32(out, 40);
    putLe32(out, quint32(w));
    putLe32(out, quint32(2 * h)); // colour rows and mask rows together
    putLe16(out, 1);
    putLe16(out, 24);
    putLe32(out, 0); // uncompressed
    putLe32(out, bitmapSize - 40);
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, 0);

    for (int y = h - 1; y >= 0; --y) {
        const uchar *row = img.constScanLine(y);
        QByteArray line(colourStride, '\0');
        for (int x = 0; x < w; ++x) {
            line[3 * x] = char(row[3 * x + 2]);
            line[3 * x + 1] = char(row[3 * x + 1]);
            line[3 * x + 2] = char(row[3 * x]);
        }
        out.append(line);
    }
    out.append(QByteArray(maskStride * h, '\0'));
    return out;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-DIR\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    for (const int size : AppIcon::ThemeSizes) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        dir.mkpath(folder);
        QImageWriter png(dir.filePath(folder + QStringLiteral("/roomboard.png")), "png");
        if (!png.write(AppIcon::square(size))) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(png.fileName()),
                         qPrintable(png.errorString()));
            return 1;
        }
    }
    dir.mkpath(QStringLiteral("hicolor/scalable/apps"));
    const bool written = writeFile(dir.filePath(QStringLiteral("hicolor/scalable/apps/roomboard.svg")), AppIcon::svg())
        && writeFile(dir.filePath(QStringLiteral("roomboard.ico")), icoOf(AppIcon::image()));
    return written ? 0 : 1;
}
