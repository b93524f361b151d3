#pragma once

#include <QDate>
#include <QString>
#include <array>

// Twelve consecutive dates starting on a Monday: two school weeks with the
// weekend between. Day columns 0…4 are the first Monday…Friday, 5…9 the
// second; the Saturday and Sunday (date indexes 6 and 7) have no column.
class DateWindow
{
public:
    static constexpr int DateCount = 12;
    static constexpr int ColumnCount = 10;

    // The window of the current school week: from the Monday of today's week,
    // or from tomorrow when today is a Sunday.
    static DateWindow current(QDate today);
    // Always one week after current(today), never relative to what is shown.
    static DateWindow next(QDate today);

    static QDate windowStart(QDate today);

    // Date index 1…12.
    QDate date(int index) const;
    // The date text the booking file relies on: yyyy/mm/dd, whatever the locale.
    QString dateText(int index) const;
    // mm/dd of a date index: the date part of a slot key.
    QString monthDay(int index) const;

    QDate columnDate(int column) const;
    static int dateIndexOfColumn(int column);

    // The month number shown in the header: that of the first Monday.
    int month() const;

private:
    explicit DateWindow(QDate start);
    QDate m_start;
};
