#include "core/SlotHistory.h"

#include "core/BookingFileMessages.h"
#include "core/BookingLog.h"
#include "core/BookingRecord.h"
#include "core/Cp932.h"
#include "core/FileEncoding.h"
#include "core/FileError.h"
#include "core/FileStamp.h"
#include "core/NativeFile.h"
#include "core/LineReader.h"
#include "core/RoomLocation.h"
#include "core/Utf16Device.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <algorithm>
#include <limits>

namespace {

using namespace BookingFileMessages;

// The days of a year that has 29 February, which a key may name.
constexpr int DaysCounted = 366;

int digit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

// 0…365 for a key starting with a real "mm/dd", counted in a leap year;
// -1 for any other key, which takes no part in the order of dates.
int dayOfYear(QByteArrayView key)
{
    if (key.size() < 5 || key[2] != '/')
        return -1;
    const int m1 = digit(key[0]), m2 = digit(key[1]), d1 = digit(key[3]), d2 = digit(key[4]);
    if (std::min({m1, m2, d1, d2}) < 0)
        return -1;
    const QDate date(2000, m1 * 10 + m2, d1 * 10 + d2);
    return date.isValid() ? date.dayOfYear() - 1 : -1;
}

// The slot number as the board reads it from the key's last character: a
// character that is no digit counts as 0.
int slotNumber(QByteArrayView key)
{
    return qMax(0, digit(key.back()));
}

// Keys carry no year, so the history tells a year apart by the order of the
// file's dates. Records are appended as they are made, and the board only
// books dates of its window, twelve days from the Monday of the week it is
// made in. So the dates in file order only move forward, or back by at most
// SameYearSpan days from the latest date so far. Each record is therefore
// given a day on a line that runs on across year ends: the step from the
// latest day so far to its month and day, taken forward, or backward when
// that is at most SameYearSpan days. From 12/28 to 01/04 is 7 days on; from
// 08/06 back to 07/30 is 7 days back; from 12/20 to 04/10 is 112 days on,
// into the next year.
//
// The slot's date on the board is no earlier than SameYearSpan days before
// the latest day the file reached. An entry that lies further back than that
// is therefore of the same month and day in an earlier year: possibly,
// because a year without a single record (or a clock set wrong) goes unseen.
class DateLine
{
public:
    qint64 place(int day)
    {
        if (m_latest < 0) {
            m_latest = day;
            return day;
        }
        const int latestDay = int(m_latest % DaysCounted);
        const int forward = (day - latestDay + DaysCounted) % DaysCounted;
        const int back = DaysCounted - forward;
        if (forward != 0 && back <= SlotHistory::SameYearSpan)
            return m_latest - back;
        m_latest += forward;
        return m_latest;
    }

    bool isEarlierYear(qint64 at) const { return at < m_latest - SlotHistory::SameYearSpan; }

private:
    qint64 m_latest = -1;
};

struct Reading
{
    QByteArray wantedDate; // "mm/dd"
    int wantedNumber = 0;
    bool utf8 = false;
    DateLine dates;
    QList<qint64> placed; // each entry's day on the date line
    QList<SlotHistory::Entry> entries;
    qint64 line = 0;

    void read(LineReader &reader)
    {
        QByteArrayView bytes;
        qint64 overlong = 0;
        while (reader.next(bytes)) {
            // Lines too long to be records are passed over, yet an editor
            // counts them.
            line += 1 + reader.overlongLines() - overlong;
            overlong = reader.overlongLines();
            take(bytes);
        }
    }

    void take(QByteArrayView bytes)
    {
        const auto record = BookingRecord::parse(bytes);
        if (!record)
            return;
        const int day = dayOfYear(record->key);
        if (day < 0)
            return;
        const qint64 at = dates.place(day);
        if (!record->key.startsWith(wantedDate) || slotNumber(record->key) != wantedNumber)
            return;
        placed.append(at);
        entries.append({line, utf8 ? QString::fromUtf8(record->text) : Cp932::decode(record->text)});
    }
};

} // namespace

std::optional<QList<SlotHistory::Entry>> SlotHistory::read(const RoomLocation &room,
                                                           const QString &key, QString *error)
{
    const QByteArray wanted = key.toLatin1();
    if (dayOfYear(wanted) < 0)
        return QList<Entry>(); // no slot of any board
    const NativePath path = BookingLog::pathOf(room);
    const QString shown = QDir::toNativeSeparators(path.shown);
    const auto fail = [&](const QString &why) {
        if (error)
            *error = CannotRead.arg(shown) + QLatin1Char('\n') + why;
        return std::nullopt;
    };

    NativeFile file;
    FileStamp stamp;
    if (!file.open(path, QIODevice::ReadOnly, false, &stamp)) {
        if (stamp.kind == FileStamp::Kind::Other)
            return fail(NotAFile);
        if (FileStamp::atPath(path).kind == FileStamp::Kind::Missing)
            return QList<Entry>();
        return fail(FileError::reason(path.shown, file.error()));
    }
    if (stamp.size > BookingLog::MaxFileSize) {
        const QLocale numbers(QLocale::Japanese, QLocale::Japan);
        return fail(TooLarge.arg(numbers.toString(stamp.size), numbers.toString(BookingLog::MaxFileSize)));
    }
    using FileEncoding::Kind;
    QByteArray head(FileEncoding::HeadSize, Qt::Uninitialized);
    const qint64 got = file.read(head.data(), head.size());
    if (got < 0)
        return fail(FileError::reason(path.shown, file.error()));
    head.truncate(got);
    const Kind encoding = FileEncoding::detect(head);
    if (encoding == Kind::NotText)
        return fail(NotBookings);

    Reading reading;
    reading.wantedDate = wanted.first(5);
    reading.wantedNumber = slotNumber(wanted);
    reading.utf8 = encoding != Kind::Cp932;
    const qint64 start = FileEncoding::markSize(encoding);
    if (!file.seek(start))
        return fail(FileError::reason(path.shown, file.error()));
    bool failed = false;
    if (encoding == Kind::Utf16LittleEndian || encoding == Kind::Utf16BigEndian) {
        Utf16Device device(file, encoding == Kind::Utf16BigEndian, stamp.size - start);
        LineReader reader(device, 0, std::numeric_limits<qint64>::max());
        reading.read(reader);
        failed = reader.failed();
    } else {
        LineReader reader(file, start, stamp.size);
        reading.read(reader);
        failed = reader.failed();
    }
    if (failed)
        return fail(FileError::reason(path.shown, file.error()));

    for (qsizetype i = 0; i < reading.entries.size(); ++i)
        reading.entries[i].possiblyAnotherYear = reading.dates.isEarlierYear(reading.placed[i]);
    return reading.entries;
}
