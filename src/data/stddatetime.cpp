#include "stddatetime.h"

#include <limits>

namespace StdDateTime {

namespace {

// Day 0 of the standard date.
qint64 epochJulianDay()
{
    static const qint64 jd = QDate(1800, 12, 28).toJulianDay();
    return jd;
}

// Whole minutes of |amount|, half a minute rounded away from zero. Works on the unsigned
// magnitude so that even the most negative amount has one.
quint64 roundedMinutes(qint64 amount)
{
    const quint64 magnitude = amount < 0 ? quint64(0) - quint64(amount) : quint64(amount);
    return magnitude / quint64(HundredthsPerMinute)
        + (magnitude % quint64(HundredthsPerMinute) >= quint64(HundredthsPerMinute / 2) ? 1 : 0);
}

QString minutesText(quint64 minutes)
{
    return QString::number(minutes / 60) + QLatin1Char(':')
        + QString::number(minutes % 60).rightJustified(2, QLatin1Char('0'));
}

} // namespace

qint32 fromQDate(const QDate &date)
{
    if (!date.isValid())
        return NoDate;
    const qint64 days = date.toJulianDay() - epochJulianDay();
    if (days <= 0 || days > std::numeric_limits<qint32>::max())
        return NoDate;
    return qint32(days);
}

QDate toQDate(qint32 date)
{
    if (date <= 0)
        return QDate();
    return QDate::fromJulianDay(epochJulianDay() + date);
}

qint32 fromYmd(int year, int month, int day)
{
    return fromQDate(QDate(year, month, day));
}

bool toYmd(qint32 date, int *year, int *month, int *day)
{
    const QDate d = toQDate(date);
    if (!d.isValid())
        return false;
    if (year)
        *year = d.year();
    if (month)
        *month = d.month();
    if (day)
        *day = d.day();
    return true;
}

int year(qint32 date)
{
    const QDate d = toQDate(date);
    return d.isValid() ? d.year() : 0;
}

int month(qint32 date)
{
    const QDate d = toQDate(date);
    return d.isValid() ? d.month() : 0;
}

int day(qint32 date)
{
    const QDate d = toQDate(date);
    return d.isValid() ? d.day() : 0;
}

int weekday(qint32 date)
{
    return date > 0 ? int(date % 7) : -1;
}

bool isWeekend(qint32 date)
{
    const int w = weekday(date);
    return w == 0 || w == 6;
}

int daysInMonth(int year, int month)
{
    if (month < 1 || month > 12)
        return 0;
    return QDate(year, month, 1).daysInMonth();
}

qint32 firstDayOfMonth(int year, int month)
{
    if (month < 1 || month > 12)
        return NoDate;
    return fromYmd(year, month, 1);
}

qint32 lastDayOfMonth(int year, int month)
{
    if (month < 1 || month > 12)
        return NoDate;
    return fromYmd(year, month, daysInMonth(year, month));
}

qint32 fromQTime(const QTime &time)
{
    if (!time.isValid())
        return NoTime;
    return qint32(time.msecsSinceStartOfDay() / 10) + 1;
}

QTime toQTime(qint32 time)
{
    if (time < Midnight || time > LastTime)
        return QTime();
    return QTime::fromMSecsSinceStartOfDay((time - 1) * 10);
}

qint32 fromHms(int hours, int minutes, int seconds, int hundredths)
{
    if (hundredths < 0 || hundredths > 99)
        return NoTime;
    return fromQTime(QTime(hours, minutes, seconds, hundredths * 10));
}

qint32 timeOfDay(qint32 time)
{
    return (time <= Midnight || time > LastTime) ? NoTime : time;
}

QString amountText(qint64 amount)
{
    const quint64 minutes = roundedMinutes(amount);
    const QString text = minutesText(minutes);
    return (amount < 0 && minutes > 0) ? QLatin1Char('-') + text : text;
}

QString signedAmountText(qint64 amount)
{
    const quint64 minutes = roundedMinutes(amount);
    const QString text = minutesText(minutes);
    if (minutes == 0)
        return text;
    return (amount < 0 ? QLatin1Char('-') : QLatin1Char('+')) + text;
}

} // namespace StdDateTime
