#pragma once

#include <QDate>
#include <QList>
#include <QString>

class DataContext;

// The demo installation (`halvane --demo DIR`) and the generated logs of the benchmarks. Both
// write through the program's own file managers and store, and both take their events from
// EventGenerator, so the demo and the benchmarks show the same kind of log.
//
// A demo installation is a small hotel: the address book of some 30 people with Czech names,
// addresses and passwords, a card for each of them (two of them also have a lost card that is
// blocked), the card categories "Zaměstnanci" and "Vedení", 29 door units with their reader
// names (the attendance terminal 1, the staff entrance 2, common doors, the car park's GSM gate
// 13 and the rooms 101-108 and 201-208), two alarm outputs, the work calendar of the current
// and the previous year with the working days of the Czech calendar, shift record 1 with the
// boundaries 04:00 (night until), 12:00 (morning until) and 20:00 (afternoon until), the status
// record 1, and the log of this month up to yesterday and the months before it: arrivals and
// departures of office hours and of morning, afternoon and night shifts (night shifts cross
// midnight, and some the turn of a month), the doors opened on the way, refused accesses, the
// gate opened through GSM, vacation (whole days and half days), sickness, hours paid out,
// initial balances and a few forgotten departures. The settings file gets the report year
// (GLO:Rok) of "today".
//
// Logging in to a demo installation (ADR:NAZEV / ADR:PASS):
//   "Správce Systému" / "demo"
//   every other person: the personal number ADR:OSOBNI_CISLO as the password, for example
//   "Jana Nováková" / "101" (the personal numbers run from 101 in the order of ADR:KOD).
namespace DemoGenerator {

struct DemoOptions {
    QDate today;       // the day the installation is made on; invalid: the current date
    int people = 30;   // people in the address book, the administrator included (1 to 1000)
    int months = 3;    // months of log: this month up to yesterday and the months before it (1 to 12)
    quint32 seed = 1;  // the same seed and "today" give the same installation
};

struct LogOptions {
    int people = 200;       // persons 1..people (LPO:DRZITEL); nobody is added to ADR_DAT
    int firstYear = 2023;   // the log covers 1 January of firstYear ...
    int years = 4;          // ... to 31 December of firstYear + years - 1
    qint64 rows = 1000000;  // rows in all, spread evenly over the people and the days
    int readers = 20;       // reader 1 is the attendance terminal, 2 the staff door, the rest doors
    quint32 seed = 42;
    int batch = 20000;      // rows per transaction
};

// Creates `directory` when it does not exist and fills it with a demo installation. Refuses a
// directory that already holds a table file of the program or its settings file, and then
// writes nothing. False with a reason in `error` (Czech, for the user) when refused or when
// writing failed; what was written before a failure is removed again.
bool createDemo(const QString &directory, const DemoOptions &options, QString *error);

// Appends a log of exactly `options.rows` rows to LOG_POKOJE of the context, in time order with
// the people interleaved, as the communication service writes it: day by day, every person's
// shift (a weekly rotation of morning, afternoon and night) with arrival, door events and
// departure. False with the store's error text when writing failed; the batches committed
// before the failure stay.
bool generateLog(DataContext &context, const LogOptions &options, QString *error);

// The Czech public holidays of a year in date order: 1 January, Good Friday (from 2016 on),
// Easter Monday, 1 and 8 May, 5 and 6 July, 28 September, 28 October, 17 November and 24 to
// 26 December.
QList<QDate> publicHolidays(int year);
// Easter Sunday of the Gregorian calendar.
QDate easterSunday(int year);
// The working days of a month: Monday to Friday less the public holidays.
int workingDays(int year, int month);
// "Leden" ... "Prosinec"; empty outside 1..12.
QString monthName(int month);

} // namespace DemoGenerator
