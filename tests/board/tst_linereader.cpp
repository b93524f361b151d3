#include "board/LineReader.h"

#include <QBuffer>
#include <QTest>

#include <algorithm>

namespace {

// A file that hands out at most `piece` bytes a read, as a pipe or a network
// share may, and whose read at byte failAt fails once, as a failing disk's
// does (-1: never).
struct Device : QBuffer
{
    qint64 piece = 0;
    qint64 failAt = -1;
    qint64 largestRead = 0;

    qint64 readData(char *data, qint64 max) override
    {
        largestRead = qMax(largestRead, max);
        if (pos() == failAt) {
            failAt = -1;
            return -1;
        }
        return QBuffer::readData(data, std::min({max, piece, failAt > pos() ? failAt - pos() : max}));
    }
};

} // namespace

class TestLineReader : public QObject
{
    Q_OBJECT
private slots:
    // Bytes read from start up to end (-1: the whole file); the lines handed
    // out, where the next read resumes, and how many lines were passed over
    // for their length. A read error ends the lines with the last whole one.
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("end");
        QTest::addColumn<qint64>("failAt");
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<qint64>("resumeAt");
        QTest::addColumn<qint64>("overlong");

        const QByteArray cap(LineReader::MaxLineLength, 'x'), chunk(LineReader::ChunkSize, 'y');
        QByteArrayList near;
        for (int i = 0; i < 60; ++i)
            near << QByteArray(LineReader::MaxLineLength - 95, char('a' + i % 26));
        QTest::newRow("crlf and lf end lines, cr alone does not") << QByteArray("\nabcdef\r\ncd\ne\rf\r\r\n\r\n")
            << 0ll << -1ll << -1ll << QByteArrayList{"", "abcdef", "cd", "e\rf\r", ""} << 20ll << 0ll;
        QTest::newRow("last line without line end") << QByteArray("a\r\nbcd") << 0ll << -1ll << -1ll
                                                    << QByteArrayList{"a", "bcd"} << 3ll << 0ll;
        QTest::newRow("empty file") << QByteArray() << 0ll << -1ll << -1ll << QByteArrayList{} << 0ll << 0ll;
        // In five-byte reads the first line's CR comes in one, its LF in the next.
        QTest::newRow("lines at the cap") << "a\r\n" + cap + "\r\n" + cap << 0ll << -1ll << -1ll
                                          << QByteArrayList{"a", cap, cap} << qint64(cap.size() + 5) << 0ll;
        QTest::newRow("lines over the cap, one longer than the buffer")
            << "a\n" + cap + "x\r\nb\n" + chunk + chunk + "\nc\n" + cap + 'x' << 0ll << -1ll << -1ll
            << QByteArrayList{"a", "b", "c"} << qint64(cap.size() + 2 * chunk.size() + 10) << 3ll;
        QTest::newRow("lines near the cap across chunks") << near.join('\n') << 0ll << -1ll << -1ll << near
                                                         << qint64(59 * (LineReader::MaxLineLength - 94)) << 0ll;
        QTest::newRow("from where the last read stopped to the end given") << QByteArray("a\r\nb\r\nc\r\nd")
            << 3ll << 8ll << -1ll << QByteArrayList{"b", "c"} << 6ll << 0ll;
        QTest::newRow("nothing between start and end") << QByteArray("a\r\n") << 0ll << 0ll << -1ll
                                                       << QByteArrayList{} << 0ll << 0ll;
        QTest::newRow("file shorter than the end given") << QByteArray("a\r\nb") << 0ll << 10ll << -1ll
                                                         << QByteArrayList{"a", "b"} << 3ll << 0ll;
        QTest::newRow("read error at once") << QByteArray("a\r\n") << 0ll << -1ll << 0ll << QByteArrayList{}
                                            << 0ll << 0ll;
        QTest::newRow("read error inside a line") << QByteArray("a\r\nb\r\nlast\r\n") << 0ll << -1ll << 8ll
                                                  << QByteArrayList{"a", "b"} << 6ll << 0ll;
        QTest::newRow("read error after a chunk") << chunk + "\nz\n" << 0ll << -1ll << qint64(chunk.size() + 1)
                                                  << QByteArrayList{} << qint64(chunk.size() + 1) << 1ll;
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, start);
        QFETCH(qint64, end);
        QFETCH(qint64, failAt);
        QFETCH(QByteArrayList, lines);
        QFETCH(qint64, resumeAt);
        QFETCH(qint64, overlong);

        for (const qint64 piece : {bytes.size() + 1, qint64(5)}) {
            Device device;
            device.setData(bytes);
            device.piece = piece;
            device.failAt = failAt;
            QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered) && device.seek(start));
            LineReader reader(device, start, end < 0 ? bytes.size() : end);
            QByteArrayList read;
            QByteArrayView line;
            // Bounded: a reader that never ends must fail here, not hang.
            while (read.size() <= lines.size() && reader.next(line))
                read << line.toByteArray();
            QCOMPARE(read, lines);
            // Nothing more, even once the device would read again.
            QVERIFY(!reader.next(line));
            QCOMPARE(reader.failed(), failAt >= 0);
            QCOMPARE(reader.completeEnd(), resumeAt);
            QCOMPARE(reader.overlongLines(), overlong);
            // Memory stays bounded however long the file or its lines.
            QVERIFY(device.largestRead <= LineReader::TailSize + LineReader::ChunkSize + LineReader::MaxLineLength);
        }
    }
};

QTEST_GUILESS_MAIN(TestLineReader)
#include "tst_linereader.moc"
