// Fuzz target for reading a booking file: bytes → LineReader → BookingReplay.
// Built with libFuzzer and sanitizers (`make fuzz`), and with a plain main()
// that replays the committed seeds and regressions in `make test`. A broken
// invariant abort()s. Read as a booking file, every input
//  - comes out of the reader as the lines of a plain split (LF ends a line, a
//    CR before it belongs to the line end, the last line needs none, a line
//    over the cap is passed over), whether the reading starts at the top or
//    at a line end in the middle, and wherever it falls in the reader's chunks;
//  - shows in each slot the text of the last record for it.

#include "board/BookingRecord.h"
#include "board/BookingReplay.h"
#include "board/Cp932.h"
#include "board/DateWindow.h"
#include "board/LineReader.h"
#include "board/SlotKey.h"

#include <QBuffer>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void check(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "roomboard fuzz: %s\n", what);
        std::abort();
    }
}

// The reader's lines from pos on, checked against a plain split.
std::vector<QByteArrayView> readLines(const QByteArray &file, qsizetype pos)
{
    std::vector<QByteArrayView> lines;
    qint64 overlong = 0, end = pos;
    for (qsizetype at = pos; at < file.size(); at = end) {
        const qsizetype lf = file.indexOf('\n', at);
        QByteArrayView line = QByteArrayView(file).sliced(at, (lf < 0 ? file.size() : lf) - at);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > LineReader::MaxLineLength)
            ++overlong;
        else
            lines.push_back(line);
        if (lf < 0)
            break;
        end = lf + 1;
    }
    QBuffer buffer;
    buffer.setData(file);
    check(buffer.open(QIODevice::ReadOnly) && buffer.seek(pos), "QBuffer refused the input");
    LineReader reader(buffer, pos, file.size());
    std::size_t count = 0;
    QByteArrayView line;
    while (reader.next(line))
        check(count < lines.size() && line == lines[count++], "the reader's lines differ from the file's");
    check(!reader.failed() && count == lines.size() && reader.overlongLines() == overlong, "the reader lost lines");
    check(reader.completeEnd() == end, "completeEnd() is not past the last line end");
    // All bytes read up to TailSize, unless a line too long to keep ran on.
    const QByteArrayView tail = reader.tail();
    check(tail == QByteArrayView(file).sliced(end - tail.size(), tail.size())
              && (overlong != 0 || tail.size() == std::min<qint64>(end - pos, LineReader::TailSize)),
          "tail() is not the bytes just before completeEnd()");
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::vector<QByteArrayView> lines = readLines(file, 0);
    // Each slot shows the last record whose key names it, across a month
    // end, New Year and 29 February.
    for (const QDate today : {QDate(2018, 8, 1), QDate(2018, 12, 23), QDate(2016, 2, 27), QDate(2019, 3, 1)}) {
        BookingReplay replay(DateWindow::current(today), 0);
        std::array<QString, SlotKey::SlotCount + 1> shown;
        for (QByteArrayView line : lines) {
            replay.addLine(line);
            const auto record = BookingRecord::parse(line);
            if (const int slot = record ? replay.slotForKey(record->key) : 0)
                shown[slot] = Cp932::decode(record->text);
        }
        for (int slot = 1; slot <= SlotKey::SlotCount; ++slot)
            check(replay.slotText(slot) == shown[slot], "a slot shows what the file does not say");
    }

    const qsizetype middle = file.lastIndexOf('\n', file.size() / 2);
    if (middle >= 0)
        readLines(file, middle + 1);
    // Filler lines move the input onto the end of the reader's first read, by
    // an amount its last two bytes choose.
    const qsizetype firstRead = LineReader::ChunkSize + LineReader::MaxLineLength;
    const auto back = [&](qsizetype i) { return file.size() >= i ? uchar(file[file.size() - i]) : 0; };
    const qsizetype padding = firstRead - ((back(2) << 8) | back(1)) % (LineReader::MaxLineLength + 512);
    static const QByteArray filler = QByteArray(63, '#').append('\n').repeated(firstRead / 64 + 1);
    readLines(filler.left(padding - 1) + '\n' + file, 0);
    return 0;
}
