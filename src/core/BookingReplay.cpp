#include "core/BookingReplay.h"

#include "core/BookingRecord.h"
#include "core/Cp932.h"

#include <algorithm>
#include <cstring>

namespace {

// Texts from the kept table share their data, so most comparisons end at the
// pointer.
bool sameText(const QString &a, const QString &b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// The first and the last eight bytes of a text, which for the usual texts of
// a dozen or so bytes are all of it: enough to hash, and to compare most of a
// text without a call.
struct TextWords
{
    quint64 head = 0;
    quint64 tail = 0;

    explicit TextWords(QByteArrayView bytes)
    {
        const auto n = size_t(bytes.size());
        if (n >= 8) {
            std::memcpy(&head, bytes.data(), 8);
            std::memcpy(&tail, bytes.data() + n - 8, 8);
        } else if (n > 0) {
            std::memcpy(&head, bytes.data(), n);
        }
    }

    quint64 hash(qsizetype size) const
    {
        quint64 h = (quint64(size) ^ head) * 0x9E3779B97F4A7C15ULL;
        h = (h ^ (h >> 29) ^ tail) * 0xBF58476D1CE4E5B9ULL;
        return h ^ (h >> 32);
    }
};

} // namespace

BookingReplay::BookingReplay(const DateWindow &window, NamingMode namingMode)
    : m_window(window)
    , m_namingMode(namingMode)
{
    m_columnOfDay.fill(-1);
    for (int column = 0; column < DateWindow::ColumnCount; ++column) {
        const QDate date = window.columnDate(column);
        m_columnOfDay[date.month() * 32 + date.day()] = qint8(column);
    }
    m_pending.fill(-1);
}

// Inline: it runs for every line of the file.
inline int BookingReplay::columnOfMonthDay(QByteArrayView key) const
{
    // Keys are ASCII, and no byte of a two-byte CP932 character is an ASCII
    // digit or "/", so reading digits from the bytes reads the characters.
    // Only "mm/dd" in two digits each can equal a day of the window. Every
    // line of the file comes here, so a table lookup, not ten comparisons.
    if (key.size() < 5)
        return -1;
    const auto *p = reinterpret_cast<const uchar *>(key.data());
    const unsigned m1 = p[0] - unsigned('0');
    const unsigned m2 = p[1] - unsigned('0');
    const unsigned d1 = p[3] - unsigned('0');
    const unsigned d2 = p[4] - unsigned('0');
    if (std::max({m1, m2, d1, d2}) > 9 || p[2] != '/')
        return -1;
    const unsigned month = m1 * 10 + m2;
    const unsigned day = d1 * 10 + d2;
    // Weekend dates, 29 February from a leap year and dates outside the
    // window have no column: matching the date itself rather than a range
    // also keeps a window across New Year working.
    if (month > 12 || day > 31)
        return -1;
    return m_columnOfDay[month * 32 + day];
}

int BookingReplay::slotForKey(QByteArrayView key) const
{
    const int column = columnOfMonthDay(key);
    if (column < 0)
        return 0;

    const char last = key.back();
    const int number = (last >= '0' && last <= '9') ? last - '0' : 0;
    // 7…9 would run into the next day's column.
    if (number > 6)
        return 0;
    return SlotKey::slotIndex(column, SlotKey::positionOfSlotNumber(number));
}

void BookingReplay::addLine(QByteArrayView line)
{
    // Most lines of a long file are for days the window does not show. The
    // key starts the line, after blanks and an opening quote, so such lines
    // are passed over here before anything else is read of them, and
    // without the set-up that reading a record takes.
    qsizetype start = 0;
    if (!line.isEmpty() && line.front() == '"') {
        start = 1;
    } else {
        while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
            ++start;
        if (start < line.size() && line[start] == '"')
            ++start;
    }
    if (columnOfMonthDay(line.sliced(start)) >= 0)
        addRecord(line);
}

void BookingReplay::addRecord(QByteArrayView line)
{
    const auto record = BookingRecord::parse(line);
    if (!record)
        return;
    const int slot = slotForKey(record->key);
    if (slot == 0)
        return;
    if (record->text.size() > LongestKept) {
        const Decoded decoded = decode(record->text);
        m_namingMode = decoded.modeAfter.value_or(m_namingMode);
        setSlotText(slot, decoded.text);
        return;
    }
    const qint16 index = keptIndex(record->text);
    m_namingMode = m_kept[size_t(index)].decoded.modeAfter.value_or(m_namingMode);
    setSlotKept(slot, index);
}

BookingReplay::Decoded BookingReplay::decode(QByteArrayView bytes) const
{
    Decoded decoded;
    decoded.text = m_encoding == Encoding::Cp932 ? Cp932::decode(bytes) : QString::fromUtf8(bytes);
    // The mode after a text depends on the mode before only when the text
    // leaves it alone.
    const NamingMode afterLettered = namingModeAfterText(decoded.text, NamingMode::Lettered);
    if (afterLettered == namingModeAfterText(decoded.text, NamingMode::Numbered))
        decoded.modeAfter = afterLettered;
    return decoded;
}

qint16 BookingReplay::keptIndex(QByteArrayView bytes)
{
    // A file of ever new texts would fill the table; start it afresh.
    if (qsizetype(m_kept.size()) >= KeptTexts || m_keptBuckets.empty()) {
        forgetKept();
        m_keptBuckets.assign(KeptBuckets, -1);
    }
    const TextWords words(bytes);
    const qsizetype size = bytes.size();
    qsizetype bucket = qsizetype(words.hash(size) & (KeptBuckets - 1));
    for (;;) {
        const qint16 index = m_keptBuckets[bucket];
        if (index < 0)
            break;
        const KeptKey &key = m_keptKeys[size_t(index)];
        // Head and tail cover up to 16 bytes; only the middle of a longer
        // text needs comparing byte by byte.
        if (key.size == size && key.head == words.head && key.tail == words.tail
            && (size <= 16
                || std::memcmp(m_kept[size_t(index)].bytes.constData() + 8, bytes.data() + 8,
                               size_t(size - 16)) == 0)) {
            return index;
        }
        bucket = (bucket + 1) & (KeptBuckets - 1);
    }
    const auto index = qint16(m_kept.size());
    m_keptBuckets[bucket] = index;
    m_keptKeys.push_back(KeptKey{words.head, words.tail, size});
    m_kept.push_back(Kept{size > 16 ? bytes.toByteArray() : QByteArray(), decode(bytes)});
    return index;
}

// Slots still pointing into the table take their texts along first.
void BookingReplay::forgetKept()
{
    for (int slot = 1; slot <= SlotKey::SlotCount; ++slot)
        settle(slot);
    m_keptKeys.clear();
    m_kept.clear();
    m_keptBuckets.clear();
}

void BookingReplay::settle(int slot) const
{
    const qint16 index = m_pending[slot];
    if (index < 0)
        return;
    m_slots[slot] = m_kept[size_t(index)].decoded.text;
    m_pending[slot] = -1;
}

const QString &BookingReplay::shownText(int slot) const
{
    const qint16 index = m_pending[slot];
    return index >= 0 ? m_kept[size_t(index)].decoded.text : m_slots[slot];
}

void BookingReplay::setSlotKept(int slot, qint16 index)
{
    if (m_pending[slot] == index || sameText(shownText(slot), m_kept[size_t(index)].decoded.text))
        return;
    m_pending[slot] = index;
    m_changed.set(slot);
}

void BookingReplay::setEncoding(Encoding encoding)
{
    if (encoding != m_encoding)
        forgetKept();
    m_encoding = encoding;
}

void BookingReplay::clearSlots()
{
    for (int slot = 1; slot <= SlotKey::SlotCount; ++slot)
        setSlotText(slot, QString());
}

void BookingReplay::setSlotText(int slot, const QString &text)
{
    if (sameText(shownText(slot), text))
        return;
    m_slots[slot] = text;
    m_pending[slot] = -1;
    m_changed.set(slot);
}

std::bitset<SlotKey::SlotCount + 1> BookingReplay::takeChangedSlots()
{
    const auto changed = m_changed;
    m_changed.reset();
    return changed;
}
