#include "core/BookingRecord.h"

#include "core/Cp932.h"

#include <cstring>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Reads one field starting at pos; leaves pos on the first byte after the
// field and its trailing blanks. Empty when the field is malformed.
std::optional<QByteArrayView> readField(QByteArrayView line, qsizetype &pos)
{
    const qsizetype n = line.size();
    while (pos < n && isBlank(line[pos]))
        ++pos;

    QByteArrayView field;
    if (pos < n && line[pos] == '"') {
        const qsizetype open = pos + 1;
        const void *quote = std::memchr(line.data() + open, '"', size_t(n - open));
        if (!quote)
            return std::nullopt;
        const qsizetype close = static_cast<const char *>(quote) - line.data();
        field = line.sliced(open, close - open);
        pos = close + 1;
    } else {
        const qsizetype start = pos;
        while (pos < n && line[pos] != ',') {
            // Zeros are what a crash leaves after a torn record, never text.
            if (line[pos] == '"' || line[pos] == '\0')
                return std::nullopt;
            ++pos;
        }
        qsizetype end = pos;
        while (end > start && isBlank(line[end - 1]))
            --end;
        // The program always quotes; an empty bare field is what is left of
        // a record torn after its comma, and must not pass for a clearing.
        if (end == start)
            return std::nullopt;
        return line.sliced(start, end - start);
    }

    while (pos < n && isBlank(line[pos]))
        ++pos;
    return field;
}

} // namespace

std::optional<BookingRecord> BookingRecord::parse(QByteArrayView line)
{
    // The form this program and its predecessor write, "key","text" with
    // nothing around the quotes, taken in two scans; anything else goes the
    // long way below, with the same outcome for this form.
    const qsizetype n = line.size();
    if (n >= 5 && line[0] == '"' && line[n - 1] == '"') {
        const char *data = line.data();
        const void *keyEnd = std::memchr(data + 1, '"', size_t(n - 2));
        if (keyEnd) {
            const qsizetype close = static_cast<const char *>(keyEnd) - data;
            const qsizetype open = close + 3;
            if (open < n && data[close + 1] == ',' && data[close + 2] == '"'
                && !std::memchr(data + open, '"', size_t(n - 1 - open))) {
                return BookingRecord{line.sliced(1, close - 1), line.sliced(open, n - 1 - open)};
            }
        }
    }

    qsizetype pos = 0;
    const auto key = readField(line, pos);
    if (!key || pos >= line.size() || line[pos] != ',')
        return std::nullopt;
    ++pos;
    const auto text = readField(line, pos);
    if (!text || pos != line.size())
        return std::nullopt;
    return BookingRecord{*key, *text};
}

std::optional<QByteArray> BookingRecord::format(const QString &key, const QString &text)
{
    for (const QString *field : {&key, &text}) {
        if (field->contains(QLatin1Char('"')) || field->contains(QLatin1Char('\r'))
            || field->contains(QLatin1Char('\n')))
            return std::nullopt;
    }
    const auto keyBytes = Cp932::encode(key);
    const auto textBytes = Cp932::encode(text);
    if (!keyBytes || !textBytes)
        return std::nullopt;

    QByteArray line;
    line.reserve(keyBytes->size() + textBytes->size() + 7);
    line += '"';
    line += *keyBytes;
    line += "\",\"";
    line += *textBytes;
    line += "\"\r\n";
    return line;
}
