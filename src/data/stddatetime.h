#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// The standard date and the standard time, as the tables keep them in LONG fields, and the
// h:mm text of an amount of time.
//
// Standard date: days since 28 December 1800 (1 January 1801 = 4, 1 January 2000 = 72,687);
// the value MOD 7 is the weekday, 0 = Sunday ... 6 = Saturday; 0 = no date.
// Standard time: hundredths of a second since midnight plus one (1 = 00:00:00.00,
// 2,880,001 = 08:00, 8,640,000 = 23:59:59.99); 0 = no time.
// An amount of time is a signed count of hundredths of a second (360,000 an hour).
namespace StdDateTime {

constexpr qint32 NoDate = 0;
constexpr qint32 NoTime = 0;
constexpr qint32 Midnight = 1;
constexpr qint32 LastTime = 8640000;

constexpr qint64 HundredthsPerMinute = 6000;
constexpr qint64 HundredthsPerHour = 360000;
constexpr qint64 HundredthsPerDay = 8640000;

// ---- dates ----

// The standard date of `date`; 0 for an invalid date or one that has no standard date (on or
// before 28 December 1800, or beyond the LONG range).
qint32 fromQDate(const QDate &date);
// The calendar date of a standard date; an invalid QDate for 0 or a negative value.
QDate toQDate(qint32 date);

// The standard date of year/month/day; 0 when they make no real date.
qint32 fromYmd(int year, int month, int day);
// Splits a standard date; false (and the outputs untouched) for no date.
bool toYmd(qint32 date, int *year, int *month, int *day);
int year(qint32 date);   // 0 for no date
int month(qint32 date);  // 1..12; 0 for no date
int day(qint32 date);    // 1..31; 0 for no date

// The weekday, the date MOD 7: 0 Sunday, 1 Monday ... 6 Saturday; -1 for no date.
int weekday(qint32 date);
// Saturday or Sunday.
bool isWeekend(qint32 date);

// Number of days in the month; 0 for a month outside 1..12.
int daysInMonth(int year, int month);
// The standard dates of the first and the last day of the month; 0 for a month outside 1..12.
qint32 firstDayOfMonth(int year, int month);
qint32 lastDayOfMonth(int year, int month);

// ---- times ----

// The standard time of a time of day; 0 for an invalid QTime. Milliseconds are cut to
// hundredths.
qint32 fromQTime(const QTime &time);
// The time of day of a standard time (1 = 00:00); an invalid QTime outside 1..8,640,000.
QTime toQTime(qint32 time);
// The standard time of h:m:s.hundredths; 0 when they make no time of day.
qint32 fromHms(int hours, int minutes, int seconds = 0, int hundredths = 0);

// A standard time taken through the time-of-day type of the shift boundaries: 0, 1
// (exactly midnight) and anything outside 2..8,640,000 become the empty time, 0; any other
// value is returned as it is.
qint32 timeOfDay(qint32 time);

// ---- amounts ----

// The h:mm text of an amount: rounded to the nearest whole minute (half a minute away from
// zero), the minutes 00..59 with the carry into the hours, "-" before an amount that is
// negative after rounding ("-0:30"); 0 gives "0:00".
QString amountText(qint64 amount);
// The same with an explicit sign for the balances: "+" before an amount that is positive after
// rounding, "-" before a negative one, and exactly "0:00" when it rounds to 0.
QString signedAmountText(qint64 amount);

} // namespace StdDateTime
