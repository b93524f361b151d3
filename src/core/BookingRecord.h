#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// One line of the booking file: two fields, the slot key and the slot text,
// each in double quotes, separated by a comma. The fields stay undecoded
// bytes here so that a reader can reject a record before paying for CP932.
struct BookingRecord
{
    QByteArrayView key;
    QByteArrayView text;

    // A line without its line end. Anything but exactly two fields, each
    // quoted (or bare, with surrounding blanks trimmed, and not empty), is
    // no record.
    static std::optional<BookingRecord> parse(QByteArrayView line);

    // The exact bytes of one record, CR LF included. Empty when a field
    // cannot be stored: a quote or line break would split the record, and
    // a character without a CP932 form would be lost.
    static std::optional<QByteArray> format(const QString &key, const QString &text);
};
