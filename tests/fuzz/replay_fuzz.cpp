// Fuzz target for reading a booking file: bytes → LineReader → BookingReplay.
//
// Built two ways from this one file: with libFuzzer and sanitizers (the
// ROOMBOARD_FUZZ build), and with a plain main() that replays the committed
// corpus and regression inputs in the normal test run. Every violated
// invariant abort()s, which both treat as a failure.
//
// Each input is checked
//  - as the file itself: every line the reader hands out must be the line a
//    plain split of the bytes gives, wherever the reading starts and wherever
//    the input falls in the reader's chunks; and no booking may appear on a
//    day whose "mm/dd" is nowhere in the file;
//  - as a recipe for a file built of well-formed records, garbage lines and a
//    torn last record: then the slots are known exactly, so a record lost to
//    garbage before or after it, or a torn record taken for a booking or a
//    clearing, shows as a wrong slot.

#include "board/BookingReplay.h"
#include "board/DateWindow.h"
#include "board/LineReader.h"

#include <QBuffer>
#include <QByteArray>
#include <QDate>
#include <QString>

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int SlotCount = 70;
constexpr int Keep = -1; // a text that leaves the naming mode as it was

// Which way of reading the input is being checked, for the report.
const char *checking = "";

[[noreturn]] void violated(const char *what, const QByteArray &file)
{
    std::fprintf(stderr, "roomboard fuzz: %s (%s; file of %lld bytes)\n", what, checking,
                 static_cast<long long>(file.size()));
    std::abort();
}

// ---------------------------------------------------------------------------
// Lines as the file format defines them, split without any chunking: a line
// ends at LF, one CR before it belongs to the line end, the last line needs no
// line end, and a line longer than the cap is no line at all.

struct Lines
{
    std::vector<QByteArrayView> lines;
    qint64 overlong = 0;
    qint64 completeEnd = 0; // just past the last LF
};

Lines splitLines(const QByteArray &file, qint64 start)
{
    Lines out;
    out.completeEnd = start;
    const qsizetype n = file.size();
    qsizetype pos = start;
    while (pos < n) {
        const qsizetype lf = file.indexOf('\n', pos);
        const qsizetype end = lf < 0 ? n : lf;
        QByteArrayView line(file.constData() + pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > LineReader::MaxLineLength)
            ++out.overlong;
        else
            out.lines.push_back(line);
        if (lf < 0)
            break;
        pos = lf + 1;
        out.completeEnd = pos;
    }
    return out;
}

// Reads the file from start, checks every line against the plain split and
// hands it on to onLine.
template <typename OnLine>
void checkLines(const QByteArray &file, qint64 start, OnLine onLine)
{
    const Lines expected = splitLines(file, start);

    QBuffer buffer;
    buffer.setData(file);
    if (!buffer.open(QIODevice::ReadOnly) || !buffer.seek(start))
        violated("QBuffer refused the input", file);
    LineReader reader(buffer, start, file.size());

    std::size_t count = 0;
    QByteArrayView line;
    while (reader.next(line)) {
        if (line.size() > LineReader::MaxLineLength) {
            std::fprintf(stderr, "line %zu from offset %lld: %lld bytes, cap %lld\n", count,
                         static_cast<long long>(start), static_cast<long long>(line.size()),
                         static_cast<long long>(LineReader::MaxLineLength));
            violated("the reader handed out a line longer than MaxLineLength", file);
        }
        if (count >= expected.lines.size() || line != expected.lines[count]) {
            std::fprintf(stderr, "line %zu from offset %lld: got %lld bytes, expected %lld\n", count,
                         static_cast<long long>(start), static_cast<long long>(line.size()),
                         count < expected.lines.size()
                             ? static_cast<long long>(expected.lines[count].size())
                             : -1LL);
            violated("the reader's lines differ from the file's lines", file);
        }
        onLine(line);
        ++count;
    }
    if (reader.failed())
        violated("the reader failed on a QBuffer", file);
    if (count != expected.lines.size()) {
        std::fprintf(stderr, "from offset %lld: %zu lines handed out, %zu in the file\n",
                     static_cast<long long>(start), count, expected.lines.size());
        violated("the reader lost lines", file);
    }
    if (reader.overlongLines() != expected.overlong)
        violated("the reader miscounted overlong lines", file);
    if (reader.completeEnd() != expected.completeEnd)
        violated("completeEnd() is not just past the last line end", file);
    // The bytes a reader knows its file by next time: those just before
    // completeEnd(), all that were read up to TailSize unless a line too long
    // to keep ran on to the end.
    const QByteArrayView tail = reader.tail();
    const qint64 read = expected.completeEnd - start;
    if (tail != QByteArrayView(file).sliced(expected.completeEnd - tail.size(), tail.size())
        || (expected.overlong == 0 && tail.size() != std::min<qint64>(read, LineReader::TailSize)))
        violated("tail() is not the bytes just before completeEnd()", file);
}

void checkLines(const QByteArray &file, qint64 start)
{
    checkLines(file, start, [](QByteArrayView) { });
}

// Whether a line is handed out must not depend on where it falls in the
// reader's chunks. Short filler lines move the input onto the end of the
// first chunk, by an amount the input's last bytes choose.
void checkAtChunkEdge(const QByteArray &data)
{
    const qsizetype firstRead = LineReader::ChunkSize + LineReader::MaxLineLength;
    const auto last = [&](qsizetype back) {
        return data.size() >= back ? static_cast<unsigned char>(data[data.size() - back]) : 0u;
    };
    const qsizetype inFirstRead = ((last(2) << 8) | last(1)) % (LineReader::MaxLineLength + 512);
    const qsizetype padding = firstRead - inFirstRead;

    static const QByteArray filler = QByteArray(QByteArray(63, '#') + '\n').repeated(firstRead / 64 + 1);
    QByteArray file = filler.left(padding);
    file[padding - 1] = '\n';
    file.append(data);
    checkLines(file, 0);
}

// ---------------------------------------------------------------------------
// The date windows the replay is checked on, with where each must start, as
// the board's rule gives it: the Monday of today's week, tomorrow on a Sunday.

struct WindowCase
{
    QDate today;
    QDate monday;
    int mode; // the naming mode before the replay
};

const WindowCase WindowCases[] = {
    {QDate(2018, 8, 1), QDate(2018, 7, 30), 7},    // ordinary; 7 shows "unchanged"
    {QDate(2018, 12, 23), QDate(2018, 12, 24), 0}, // a Sunday; the second week spans New Year
    {QDate(2016, 2, 27), QDate(2016, 2, 22), 1},   // leap year: 29 February is a Monday column
    {QDate(2019, 3, 1), QDate(2019, 2, 25), 7},    // the same days in a common year
};

struct Window
{
    DateWindow window;
    std::array<QByteArray, 10> monthDays; // of columns 0…9
    int mode;
};

QByteArray monthDayOf(QDate date)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d/%02d", date.month(), date.day());
    return QByteArray(text);
}

const std::vector<Window> &windows()
{
    static const std::vector<Window> all = [] {
        std::vector<Window> made;
        for (const WindowCase &c : WindowCases) {
            Window w{DateWindow::current(c.today), {}, c.mode};
            for (int column = 0; column < 10; ++column) {
                // Columns skip the weekend between the two weeks.
                const QDate date = c.monday.addDays(column < 5 ? column : column + 2);
                if (w.window.columnDate(column) != date)
                    violated("a date window does not show the days it should", {});
                w.monthDays[column] = monthDayOf(date);
            }
            made.push_back(w);
        }
        return made;
    }();
    return all;
}

// Dates records are written for: every column of every window, and some
// that no window shows (weekends, 29 February of a common year, nonsense).
const std::vector<QByteArray> &recordDates()
{
    static const std::vector<QByteArray> all = [] {
        std::vector<QByteArray> dates;
        for (const Window &w : windows())
            for (const QByteArray &md : w.monthDays)
                dates.push_back(md);
        for (const char *other : {"08/04", "08/05", "12/29", "12/30", "02/27", "02/28", "02/29",
                                  "13/01", "00/00"})
            dates.push_back(other);
        return dates;
    }();
    return all;
}

// Slot texts as stored, as shown, and what they do to the naming mode.
struct Text
{
    QByteArray bytes;
    QString shown;
    int mode;
};

const std::array<Text, 8> &texts()
{
    static const std::array<Text, 8> all = {{
        {QByteArray("\x82\x50\x2d\x82\x51\x81\x40\x90\x94\x8a\x77"), QStringLiteral("１-２　数学"), 1},
        {QByteArray("\x82\x50\x82\x60\x81\x40\x81\x40\x97\x9d\x89\xc8"), QStringLiteral("１Ａ　　理科"), 0},
        {QByteArray("\x82\xbb\x82\xcc\x91\xbc\x81\x40\x88\xcf\x88\xf5\x89\xef"),
         QStringLiteral("その他　委員会"), Keep},
        {QByteArray(), QString(), 0}, // a clearing
        {QByteArray("\x81\x40"), QStringLiteral("　"), Keep},
        // Trail bytes 0x5C, a backslash on its own.
        {QByteArray("\x82\x51\x82\x61\x81\x40\x81\x40\x83\x5c\x83\x74\x83\x67\x95\x5c"),
         QStringLiteral("２Ｂ　　ソフト表"), 0},
        // A damaged text must still show as booked.
        {QByteArray("\x90\x94\x8a\x77\x81"), QStringLiteral("数学\uFFFD"), 0},
        {QByteArray("\x81"), QStringLiteral("\uFFFD"), 0},
    }};
    return all;
}

// ---------------------------------------------------------------------------
// A file built from a recipe, and what it must show.

// "mm/dd" as mm * 100 + dd.
int dateCode(QByteArrayView monthDay)
{
    return ((monthDay[0] - '0') * 10 + (monthDay[1] - '0')) * 100 + (monthDay[3] - '0') * 10
        + (monthDay[4] - '0');
}

// Only a key that starts with a shown day can reach a slot, so garbage can
// change only the days whose "mm/dd" it holds. They are looked for once per
// garbage segment, not once per window: segments run to hundreds of kilobytes.
std::vector<int> shownDatesIn(QByteArrayView bytes)
{
    static const std::bitset<10000> shown = [] {
        std::bitset<10000> codes;
        for (const Window &w : windows())
            for (const QByteArray &md : w.monthDays)
                codes.set(dateCode(md));
        return codes;
    }();
    std::vector<int> found;
    const auto digit = [&](qsizetype i) { return bytes[i] >= '0' && bytes[i] <= '9'; };
    for (qsizetype i = bytes.indexOf('/', 2); i >= 0 && i + 2 < bytes.size();
         i = bytes.indexOf('/', i + 1)) {
        if (!digit(i - 2) || !digit(i - 1) || !digit(i + 1) || !digit(i + 2))
            continue;
        const int code = dateCode(bytes.sliced(i - 2, 5));
        if (shown.test(code) && std::find(found.begin(), found.end(), code) == found.end())
            found.push_back(code);
    }
    return found;
}

struct Record
{
    QByteArray monthDay;
    int digit; // 0…7; 7 names no slot
    int text;
    int style; // 1: LF only, 2: bare key, 4: blanks around the fields

    // The bytes of the line, line end included; complete is where the record
    // is whole even if the rest is missing (just past the closing quote).
    QByteArray line(qsizetype *complete = nullptr) const
    {
        const QByteArray key = monthDay + '-' + QByteArray::number(digit);
        QByteArray out;
        if (style & 4)
            out += ' ';
        out += (style & 2) ? key : '"' + key + '"';
        out += (style & 4) ? " ,\t\"" : ",\"";
        out += texts()[text].bytes;
        out += '"';
        if (complete)
            *complete = out.size();
        if (style & 4)
            out += ' ';
        out += (style & 1) ? "\n" : "\r\n";
        return out;
    }
};

struct Segment
{
    enum Kind { Whole, Garbage, Torn } kind;
    Record record{};
    QByteArray bytes; // the garbage
    std::vector<int> dates; // the shown days it holds
    // Torn: bytes of the record's line that made it to disk, zeros after
    // them, and the lengths of the line up to its closing quote and whole.
    qsizetype cut = 0;
    int nuls = 0;
    qsizetype complete = 0;
    qsizetype length = 0;

    static Segment whole(const Record &r) { return {Whole, r, {}, {}, 0, 0, 0, 0}; }
    static Segment garbage(const QByteArray &bytes)
    {
        return {Garbage, {}, bytes, shownDatesIn(bytes), 0, 0, 0, 0};
    }
    static Segment torn(const Record &r) { return {Torn, r, {}, {}, 0, 0, 0, 0}; }
};

struct Recipe
{
    std::vector<Segment> segments;
    QByteArray file;
};

class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) { }
    bool atEnd() const { return m_pos >= m_size; }
    int byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    QByteArray take(std::size_t n)
    {
        n = std::min(n, m_size - m_pos);
        QByteArray out(reinterpret_cast<const char *>(m_data + m_pos), static_cast<qsizetype>(n));
        m_pos += n;
        return out;
    }
    QByteArray rest() { return take(m_size - m_pos); }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Three bytes: the date; style and slot digit; the text.
Record recordFrom(Input &in)
{
    const auto &dates = recordDates();
    Record r;
    r.monthDay = dates[static_cast<std::size_t>(in.byte()) % dates.size()];
    const int b = in.byte();
    r.style = b & 7;
    r.digit = (b >> 3) & 7;
    r.text = in.byte() % static_cast<int>(texts().size());
    return r;
}

// Opcodes, by their low two bits: 0 and 1 a whole record; 2 a garbage line
// (short, just around the cap, or far past a chunk); 3 the end of the file,
// either a torn record or the rest of the input unchanged.
Recipe recipeFrom(const std::uint8_t *data, std::size_t size)
{
    Recipe recipe;
    Input in(data, size);
    while (!in.atEnd()) {
        const int op = in.byte();
        if ((op & 3) < 2) {
            Segment s = Segment::whole(recordFrom(in));
            recipe.file += s.record.line();
            recipe.segments.push_back(std::move(s));
        } else if ((op & 3) == 2) {
            const int n = in.byte();
            qsizetype length = n;
            QByteArray pattern;
            // Long lines are costly; a few per file are plenty.
            if ((op & 4) && recipe.file.size() < 4 * LineReader::ChunkSize) {
                length = (op & 8) ? qsizetype(n + 1) * 512 : LineReader::MaxLineLength - 128 + n;
                pattern = in.take(((op >> 4) & 7) + 1);
            } else {
                pattern = in.take(static_cast<std::size_t>(n));
            }
            if (pattern.isEmpty())
                pattern = "x";
            QByteArray bytes = pattern.repeated(length / pattern.size() + 1);
            bytes.truncate(length);
            bytes += (op & 128) ? "\n" : "\r\n";
            recipe.file += bytes;
            recipe.segments.push_back(Segment::garbage(bytes));
        } else {
            if (op & 4) {
                const QByteArray bytes = in.rest();
                recipe.file += bytes;
                recipe.segments.push_back(Segment::garbage(bytes));
            } else {
                Segment s = Segment::torn(recordFrom(in));
                const QByteArray line = s.record.line(&s.complete);
                s.length = line.size();
                s.cut = in.byte() % (line.size() + 1);
                s.nuls = (op & 8) ? in.byte() % 64 : 0;
                recipe.file += line.left(s.cut) + QByteArray(s.nuls, '\0');
                recipe.segments.push_back(std::move(s));
            }
            break;
        }
    }
    return recipe;
}

struct Expected
{
    std::array<bool, SlotCount + 1> known;
    std::array<QString, SlotCount + 1> text;
    bool modeKnown = true;
    int mode;
};

int slotOf(const Window &w, const Record &r)
{
    if (r.digit > 6)
        return 0;
    for (int column = 0; column < 10; ++column)
        if (w.monthDays[column] == r.monthDay)
            return 7 * column + (r.digit == 0 ? 7 : r.digit);
    return 0;
}

void apply(Expected &e, int slot, const Text &t)
{
    if (slot == 0)
        return;
    e.known[slot] = true;
    e.text[slot] = t.shown;
    if (t.mode != Keep) {
        e.modeKnown = true;
        e.mode = t.mode;
    }
}

void forget(Expected &e, int slot)
{
    e.known[slot] = false;
    e.modeKnown = false;
}

Expected expectedOn(const Window &w, const std::vector<Segment> &segments)
{
    Expected e;
    e.known.fill(true);
    e.mode = w.mode;
    for (const Segment &s : segments) {
        switch (s.kind) {
        case Segment::Whole:
            apply(e, slotOf(w, s.record), texts()[s.record.text]);
            break;
        case Segment::Garbage:
            for (int column = 0; column < 10; ++column)
                if (std::find(s.dates.begin(), s.dates.end(), dateCode(w.monthDays[column]))
                    != s.dates.end())
                    for (int p = 1; p <= 7; ++p)
                        forget(e, 7 * column + p);
            break;
        case Segment::Torn: {
            const int slot = slotOf(w, s.record);
            if (s.cut < s.complete || slot == 0)
                break; // cut inside the record: neither a booking nor a clearing
            if (s.nuls == 0 || s.cut == s.length)
                apply(e, slot, texts()[s.record.text]);
            else
                forget(e, slot); // whole record with zeros on its line: either is fine
            break;
        }
        }
    }
    return e;
}

// Reads the file once, checking its lines and replaying them on every window.
void checkFile(const QByteArray &file, const std::vector<Segment> &segments)
{
    std::vector<BookingReplay> replays;
    for (const Window &w : windows())
        replays.emplace_back(w.window, w.mode);
    checkLines(file, 0, [&](QByteArrayView line) {
        for (BookingReplay &replay : replays)
            replay.addLine(line);
    });

    for (std::size_t i = 0; i < replays.size(); ++i) {
        const Window &w = windows()[i];
        const BookingReplay &replay = replays[i];
        const Expected e = expectedOn(w, segments);
        for (int slot = 1; slot <= SlotCount; ++slot) {
            if (e.known[slot] && replay.slotText(slot) != e.text[slot]) {
                std::fprintf(stderr, "window from %s, slot %d: shows \"%s\", expected \"%s\"\n",
                             qPrintable(w.window.dateText(1)), slot,
                             qPrintable(replay.slotText(slot)), qPrintable(e.text[slot]));
                violated("a slot shows what the file does not say", file);
            }
        }
        const int mode = replay.namingMode();
        if (mode != w.mode && mode != 0 && mode != 1)
            violated("the naming mode left {before, 0, 1}", file);
        if (e.modeKnown && mode != e.mode) {
            std::fprintf(stderr, "window from %s: naming mode %d, expected %d\n",
                         qPrintable(w.window.dateText(1)), mode, e.mode);
            violated("the naming mode is not that of the last deciding record", file);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray raw(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    checking = "the input as a file";
    checkFile(raw, {Segment::garbage(raw)});
    checking = "the input read on from a line end, as a refresh does";
    const qsizetype middle = raw.lastIndexOf('\n', raw.size() / 2);
    if (middle >= 0)
        checkLines(raw, middle + 1);
    checking = "the input moved to the end of the reader's first chunk";
    checkAtChunkEdge(raw);

    checking = "the file the input is a recipe for";
    const Recipe recipe = recipeFrom(data, size);
    checkFile(recipe.file, recipe.segments);
    return 0;
}
