// Fuzz target for reading a booking file, bytes → LineReader → BookingReplay: run by
// libFuzzer with sanitizers (`make fuzz`) and over the committed inputs by `make test`.
// A broken invariant abort()s: the reader hands out the lines of a plain split however
// the reads fall, and each slot shows the text of the last record for it.

#include "core/BookingRecord.h"
#include "core/BookingReplay.h"
#include "core/Cp932.h"
#include "core/DateWindow.h"
#include "core/LineReader.h"

#include <QBuffer>
#include <array>
#include <cstdint>

namespace {

void check(bool holds, const char *what)
{
    if (!holds)
        qFatal("roomboard fuzz: %s", what);
}

// A file read at most `piece` bytes at a time, as a pipe may be, failing once at byte failAt.
struct File : QBuffer
{
    qint64 piece, failAt;

    qint64 readData(char *data, qint64 max) override
    {
        // However long the file or its lines.
        check(max <= LineReader::TailSize + LineReader::ChunkSize + LineReader::MaxLineLength, "memory grows");
        if (pos() == failAt) {
            failAt = -1;
            return -1;
        }
        return QBuffer::readData(data, std::min({max, piece, failAt > pos() ? failAt - pos() : max}));
    }
};

// The lines read from pos up to end, with a read error at failAt if that lies
// before it: a plain split, CR LF or LF ending each, without the lines over
// the cap; the last needs no line end unless the error cut it.
QByteArrayList readLines(const QByteArray &file, qsizetype pos, qint64 end, qint64 piece = 1 << 30, qint64 failAt = -1)
{
    const bool fails = failAt >= pos && failAt < qMin<qint64>(end, file.size());
    QByteArray text = file.sliced(pos, (fails ? failAt : qMin<qint64>(end, file.size())) - pos);
    const qsizetype complete = text.lastIndexOf('\n') + 1;
    // A line that ran on past the cap was counted before the error cut it.
    qint64 overlong = fails && text.size() - complete > LineReader::MaxLineLength + 1;
    if (fails)
        text.truncate(complete);
    QByteArrayList lines = text.split('\n');
    if (lines.constLast().isEmpty())
        lines.removeLast(); // after the last line end
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    overlong += lines.removeIf([](const QByteArray &line) { return line.size() > LineReader::MaxLineLength; });

    File device;
    device.setData(file);
    device.piece = piece;
    device.failAt = fails ? failAt : -1;
    check(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered) && device.seek(pos), "QBuffer refused the input");
    LineReader reader(device, pos, end);
    QByteArrayList read;
    QByteArrayView line;
    // Bounded: a reader that never ends must fail here, not hang.
    while (read.size() <= lines.size() && reader.next(line))
        read << line.toByteArray();
    check(read == lines && !reader.next(line), "the reader's lines differ from the file's");
    check(reader.failed() == fails && reader.overlongLines() == overlong, "a read error or a long line is miscounted");
    check(reader.completeEnd() == pos + complete, "completeEnd() is not past the last line end");
    // All bytes read up to TailSize, unless a line too long to keep ran on.
    const QByteArrayView tail = reader.tail();
    check(tail == QByteArrayView(file).sliced(pos + complete - tail.size(), tail.size())
              && (overlong != 0 || tail.size() == std::min<qint64>(complete, LineReader::TailSize)),
          "tail() is not the bytes just before completeEnd()");
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArrayList lines = readLines(file, 0, file.size());
    // Across a month end, New Year and 29 February.
    for (const QDate today : {QDate(2018, 8, 1), QDate(2018, 12, 23), QDate(2016, 2, 27), QDate(2019, 3, 1)}) {
        BookingReplay replay(DateWindow::current(today));
        std::array<QString, SlotKey::SlotCount + 1> shown;
        for (const QByteArray &line : lines) {
            replay.addLine(line);
            const auto record = BookingRecord::parse(line);
            if (const int slot = record ? replay.slotForKey(record->key) : 0)
                shown[slot] = Cp932::decode(record->text);
        }
        for (int slot = 1; slot <= SlotKey::SlotCount; ++slot)
            check(replay.slotText(slot) == shown[slot], "a slot shows what the file does not say");
    }

    // From a line end in the middle, as a reader coming back does, or the second
    // line's start; to an end the file falls short of, or short of its end; a read error.
    readLines(file, file.lastIndexOf('\n', file.size() / 2) + 1, file.size() + 1, 5);
    const qsizetype second = file.indexOf('\n') + 1;
    readLines(file, second, qMax<qint64>(second, file.size() * 3 / 4), 3);
    readLines(file, 0, file.size(), 7, file.size() / 2);
    // Filler lines move the input onto the end of the reader's first read, by
    // an amount its last two bytes choose.
    const qsizetype firstRead = LineReader::ChunkSize + LineReader::MaxLineLength;
    const auto back = [&](qsizetype i) { return file.size() >= i ? uchar(file[file.size() - i]) : 0; };
    const qsizetype padding = firstRead - ((back(2) << 8) | back(1)) % (LineReader::MaxLineLength + 512);
    static const QByteArray filler = QByteArray(63, '#').append('\n').repeated(firstRead / 64 + 1);
    const QByteArray padded = filler.left(padding - 1) + '\n' + file;
    readLines(padded, 0, padded.size());
    readLines(padded, 0, padded.size(), 1 << 30, padding + file.size() / 2);
    // After a line longer than the reader's whole buffer, passed over.
    const QByteArray afterLong = QByteArray(2 * LineReader::ChunkSize, '#') + '\n' + file;
    readLines(afterLong, 0, afterLong.size());
    return 0;
}
