#include "core/DateWindow.h"

DateWindow::DateWindow(QDate start)
    : m_start(start)
{
}

QDate DateWindow::windowStart(QDate today)
{
    // Weekday counted from Sunday = 1, as the board always has: a Sunday
    // therefore moves on to tomorrow's Monday, every other day back to this
    // week's Monday.
    const int w = today.dayOfWeek() % 7 + 1;
    return today.addDays(-(w - 2));
}

DateWindow DateWindow::current(QDate today)
{
    return DateWindow(windowStart(today));
}

DateWindow DateWindow::next(QDate today)
{
    return DateWindow(windowStart(today).addDays(7));
}

QDate DateWindow::date(int index) const
{
    Q_ASSERT(index >= 1 && index <= DateCount);
    return m_start.addDays(index - 1);
}

QString DateWindow::dateText(int index) const
{
    const QDate d = date(index);
    return QStringLiteral("%1/%2/%3")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'));
}

QString DateWindow::monthDay(int index) const
{
    return dateText(index).mid(5, 5);
}

int DateWindow::dateIndexOfColumn(int column)
{
    Q_ASSERT(column >= 0 && column < ColumnCount);
    return column < 5 ? column + 1 : column + 3;
}

QDate DateWindow::columnDate(int column) const
{
    return date(dateIndexOfColumn(column));
}

int DateWindow::month() const
{
    return m_start.month();
}
