// Fuzz target for reading a booking file: bytes → LineReader → BookingReplay.
//
// Built two ways from this one file: with libFuzzer and sanitizers (`make
// fuzz`), and with a plain main() that replays the committed seeds and
// regressions in `make test`. A broken invariant abort()s. Read as a booking
// file, every input
//  - comes out of the reader as exactly the lines of a plain split (LF ends a
//    line, a CR before it belongs to the line end, the last line needs none,
//    a line over the cap is passed over and counted), whether the reading
//    starts at the top or at a line end in the middle, and wherever the input
//    falls in the reader's chunks;
//  - shows, slot by slot, what a plain replay of those lines shows, and the
//    same naming mode, in windows across a month end, New Year and 29 February;
//  - holds no record that, cut short, still reads as a record.

#include "board/BookingRecord.h"
#include "board/BookingReplay.h"
#include "board/Cp932.h"
#include "board/DateWindow.h"
#include "board/LineReader.h"
#include "board/NamingMode.h"

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

struct Lines
{
    std::vector<QByteArrayView> lines;
    qint64 overlong = 0;
    qint64 completeEnd = 0;
};

Lines split(QByteArrayView file, qsizetype pos)
{
    Lines out{{}, 0, pos};
    while (pos < file.size()) {
        const qsizetype lf = file.indexOf('\n', pos);
        QByteArrayView line = file.sliced(pos, (lf < 0 ? file.size() : lf) - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > LineReader::MaxLineLength)
            ++out.overlong;
        else
            out.lines.push_back(line);
        if (lf < 0)
            break;
        pos = out.completeEnd = lf + 1;
    }
    return out;
}

// The reader's lines from pos on, each handed to the replays as it comes.
Lines readLines(const QByteArray &file, qsizetype pos, std::vector<BookingReplay> *replays = nullptr)
{
    const Lines expected = split(file, pos);
    QBuffer buffer;
    buffer.setData(file);
    check(buffer.open(QIODevice::ReadOnly) && buffer.seek(pos), "QBuffer refused the input");
    LineReader reader(buffer, pos, file.size());
    std::size_t count = 0;
    QByteArrayView line;
    while (reader.next(line)) {
        check(count < expected.lines.size() && line == expected.lines[count++],
              "the reader's lines differ from the file's");
        for (std::size_t i = 0; replays && i < replays->size(); ++i)
            (*replays)[i].addLine(line);
    }
    check(!reader.failed() && count == expected.lines.size(), "the reader lost lines");
    check(reader.overlongLines() == expected.overlong, "the reader miscounted overlong lines");
    check(reader.completeEnd() == expected.completeEnd, "completeEnd is not past the last line end");
    // The bytes a reader knows its file by next time: those just before
    // completeEnd(), all that were read up to TailSize unless a line too long
    // to keep ran on to the end.
    const QByteArrayView tail = reader.tail();
    const qint64 read = expected.completeEnd - pos;
    check(tail == QByteArrayView(file).sliced(expected.completeEnd - tail.size(), tail.size())
              && (expected.overlong != 0 || tail.size() == std::min<qint64>(read, LineReader::TailSize)),
          "tail() is not the bytes just before completeEnd()");
    return expected;
}

// Today and the naming mode before the replay; 7 shows "left as it was".
const std::array<std::pair<QDate, int>, 4> Windows{{
    {QDate(2018, 8, 1), 7}, {QDate(2018, 12, 23), 0}, {QDate(2016, 2, 27), 1}, {QDate(2019, 3, 1), 7}}};

// The board's rule, record by record, with nothing a long file needs.
void checkReplay(const DateWindow &window, int mode, const Lines &file, const BookingReplay &replay)
{
    std::array<QByteArray, 10> monthDays;
    for (int column = 0; column < 10; ++column)
        monthDays[column] = window.columnDate(column).toString(u"MM/dd").toLatin1();
    std::array<QString, 71> shown;
    for (QByteArrayView line : file.lines) {
        const auto record = BookingRecord::parse(line);
        if (!record || record->key.size() < 5)
            continue;
        int column = 0;
        while (column < 10 && record->key.first(5) != monthDays[column])
            ++column;
        const char last = record->key.back();
        const int digit = last >= '0' && last <= '9' ? last - '0' : 0;
        if (column == 10 || digit > 6)
            continue;
        const int slot = 7 * column + (digit == 0 ? 7 : digit);
        shown[slot] = Cp932::decode(record->text);
        mode = NamingMode::afterText(shown[slot], mode);
    }
    for (int slot = 1; slot <= 70; ++slot)
        check(replay.slotText(slot) == shown[slot], "a slot shows what the file does not say");
    check(replay.namingMode() == mode, "the naming mode is not that of the last deciding record");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    std::vector<BookingReplay> replays;
    for (const auto &[today, mode] : Windows)
        replays.emplace_back(DateWindow::current(today), mode);
    const Lines lines = readLines(file, 0, &replays);
    for (std::size_t i = 0; i < Windows.size(); ++i)
        checkReplay(DateWindow::current(Windows[i].first), Windows[i].second, lines, replays[i]);

    // The program always quotes the text: a record cut short by a crash in
    // mid-write, with or without zeros after it, neither books nor clears.
    for (QByteArrayView line : lines.lines) {
        if (line.size() > 128 || !line.endsWith('"') || !BookingRecord::parse(line))
            continue;
        for (qsizetype cut = 0; cut < line.size(); ++cut) {
            check(!BookingRecord::parse(line.first(cut)), "a record cut short still reads as one");
            check(!BookingRecord::parse(line.first(cut).toByteArray() + QByteArray(2, '\0')),
                  "a record cut short, zeros after it, still reads as one");
        }
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
