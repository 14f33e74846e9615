#include "monthlycomputation.h"
#include "stddatetime.h"

#include <QtTest>

#include <algorithm>
#include <array>

namespace {

constexpr qint32 kPerson = 7;
constexpr qint64 kHour = 360000;
constexpr qint64 kMinute = 6000;

qint32 day(int y, int m, int d)
{
    return StdDateTime::fromYmd(y, m, d);
}

qint32 at(int h, int m, int s = 0)
{
    return StdDateTime::fromHms(h, m, s);
}

// Boundaries 04:00, 12:00, 20:00.
const ShiftBoundaries kBoundaries{at(12, 0), at(20, 0), at(4, 0)};

// The log and the calendar in memory. It answers as the tables do (the person's records in
// the order of LPO:KeyOsoba_Dat_Cas) and notes what it was asked for.
class FakeSource : public AttendanceSource
{
public:
    void add(int data, qint32 datum, qint32 cas, qint32 person = kPerson)
    {
        LogEntry e;
        e.id = m_nextId++;
        e.data = data;
        e.datum = datum;
        e.cas = cas;
        e.drzitel = person;
        log.push_back(e);
    }
    void pair(qint32 fromDate, qint32 fromTime, qint32 toDate, qint32 toTime)
    {
        add(41, fromDate, fromTime);
        add(43, toDate, toTime);
    }
    void month(int year, int month, qint32 days, const QString &name = QString(), qint32 kod = 0)
    {
        CalendarMonth m;
        m.kod = kod ? kod : qint32(calendar.size()) + 1;
        m.mesic = month;
        m.rok = year;
        m.pracovnichDnu = days;
        m.pracovnichHodin = 999;
        m.nazev = name;
        calendar.push_back(m);
    }

    bool personEntries(qint32 person, qint32 fromDate, qint32 toDate, std::vector<LogEntry> *out,
                       QString *error) override
    {
        ranges.push_back({fromDate, toDate});
        if (!entriesError.isEmpty()) {
            *error = entriesError;
            return false;
        }
        out->clear();
        for (const LogEntry &e : log) {
            if (e.drzitel == person && e.datum >= fromDate && e.datum <= toDate)
                out->push_back(e);
        }
        std::sort(out->begin(), out->end(), [](const LogEntry &a, const LogEntry &b) {
            return std::tie(a.datum, a.cas, a.id) < std::tie(b.datum, b.cas, b.id);
        });
        return true;
    }

    bool calendarMonths(int month, int year, std::vector<CalendarMonth> *out,
                        QString *error) override
    {
        calendarAsked.push_back(month);
        if (!calendarError.isEmpty()) {
            *error = calendarError;
            return false;
        }
        out->clear();
        for (const CalendarMonth &m : calendar) {
            if (m.mesic == month && m.rok == year)
                out->push_back(m);
        }
        return true;
    }

    std::vector<LogEntry> log;
    std::vector<CalendarMonth> calendar;
    QString entriesError;
    QString calendarError;
    std::vector<std::pair<qint32, qint32>> ranges;
    std::vector<int> calendarAsked;

private:
    qint32 m_nextId = 1;
};

bool run(FakeSource &source, int month, MonthlyResult *result, int year = 2025)
{
    MonthlyComputation computation(&source, kPerson, month, year, kBoundaries);
    QString error;
    if (!computation.compute(&error)) {
        qWarning("compute failed: %s", qPrintable(error));
        return false;
    }
    *result = computation.result();
    return true;
}

using Shifts = std::array<qint64, 6>;

Shifts shifts(const MonthlyResult &r)
{
    return {r.RANNI, r.ODPOLEDNI, r.NOCNI, r.RANNI_VIKEND, r.ODPOLEDNI_VIKEND, r.NOCNI_VIKEND};
}

QStringList remarks(const MonthlyResult &r)
{
    QStringList list;
    for (const DetailLine &l : r.lines)
        list.append(l.DATA2);
    return list;
}

const QString kMissingArrival = QStringLiteral("POZOR - Chybí příchod !!!");
const QString kMissingDeparture = QStringLiteral("POZOR - chybí odchod !!!");
const QString kPreviousMonth = QStringLiteral("Patří do minulého měsíce");
const QString kError = QStringLiteral("CHYBA !!!");

} // namespace

Q_DECLARE_METATYPE(Shifts)
Q_DECLARE_METATYPE(CalendarMonth)

// The monthly attendance of one person: pairing, totals, texts, the turn of the month, the
// working days, the cumulative balance, and driving it record by record.
class TestMonthlyComputation : public QObject
{
    Q_OBJECT

private slots:
    void pairCountsInItsShift_data();
    void pairCountsInItsShift();
    void singlePairLines();
    void monthBalance_data();
    void monthBalance();
    void amountRecords_data();
    void amountRecords();
    void pairLength_data();
    void pairLength();
    void threePairsRoundEachAndTheTotal();
    void secondArrivalWarnsFromThatRecordOn();
    void departureWithoutArrivalCountsNothing();
    void recordsWithoutTime();
    void departureFirstInMonth_data();
    void departureFirstInMonth();
    void nightShiftAcrossTheTurnCountsOnce();
    void workingDays_data();
    void workingDays();
    void cumulativeBalance();
    void warningInAnEarlierMonth();
    void otherCodesAreLeftOut();
    void monthWithoutRecords();
    void steppingWithPauseGivesTheSameResult();
    void readsOnlyThePersonsRecordsOfTheYear();
    void sourceFailures_data();
    void sourceFailures();
    void monthOutOfRange();
};

void TestMonthlyComputation::pairCountsInItsShift_data()
{
    QTest::addColumn<qint32>("fromDate");
    QTest::addColumn<qint32>("fromTime");
    QTest::addColumn<qint32>("toDate");
    QTest::addColumn<qint32>("toTime");
    QTest::addColumn<Shifts>("expected");

    const qint64 eight = 8 * kHour;
    QTest::newRow("Monday 06:00-14:00 weekday morning")
        << day(2025, 1, 6) << at(6, 0) << day(2025, 1, 6) << at(14, 0) << Shifts{eight, 0, 0, 0, 0, 0};
    QTest::newRow("Monday 13:00-21:00 weekday afternoon")
        << day(2025, 1, 6) << at(13, 0) << day(2025, 1, 6) << at(21, 0) << Shifts{0, eight, 0, 0, 0, 0};
    QTest::newRow("Friday 22:00-Saturday 06:00 weekend night")
        << day(2025, 1, 10) << at(22, 0) << day(2025, 1, 11) << at(6, 0) << Shifts{0, 0, 0, 0, 0, eight};
    QTest::newRow("Saturday 06:00-14:00 weekend morning")
        << day(2025, 1, 11) << at(6, 0) << day(2025, 1, 11) << at(14, 0) << Shifts{0, 0, 0, eight, 0, 0};
    QTest::newRow("Sunday 22:00-Monday 06:00 weekday night by the departure")
        << day(2025, 1, 12) << at(22, 0) << day(2025, 1, 13) << at(6, 0) << Shifts{0, 0, eight, 0, 0, 0};
    QTest::newRow("Sunday 12:01-20:01 weekend afternoon")
        << day(2025, 1, 12) << at(12, 1) << day(2025, 1, 12) << at(20, 1) << Shifts{0, 0, 0, 0, eight, 0};
}

void TestMonthlyComputation::pairCountsInItsShift()
{
    QFETCH(qint32, fromDate);
    QFETCH(qint32, fromTime);
    QFETCH(qint32, toDate);
    QFETCH(qint32, toTime);
    QFETCH(Shifts, expected);

    FakeSource source;
    source.pair(fromDate, fromTime, toDate, toTime);
    MonthlyResult r;
    QVERIFY(run(source, 1, &r));

    QCOMPARE(r.ITEMTOTAL, 8 * kHour);
    QCOMPARE(r.VYSLEDEK_SKUT, QStringLiteral("8:00"));
    QCOMPARE(shifts(r), expected);
    const QStringList texts{r.VYSLEDEK_RANNI, r.VYSLEDEK_ODPO, r.VYSLEDEK_NOCNI,
                            r.VYSLEDEK_RANNI_V, r.VYSLEDEK_ODPO_V, r.VYSLEDEK_NOCNI_V};
    for (size_t i = 0; i < expected.size(); ++i)
        QCOMPARE(texts[qsizetype(i)], expected[i] ? QStringLiteral("8:00") : QStringLiteral("0:00"));
    QCOMPARE(r.lines.back().DATA2, QStringLiteral("Mezisoučet: 8:00"));
    QCOMPARE(r.DSTATE, 0);
}

void TestMonthlyComputation::singlePairLines()
{
    FakeSource source;
    source.month(2025, 1, 1, QStringLiteral("Leden 2025"));
    source.pair(day(2025, 1, 6), at(6, 0), day(2025, 1, 6), at(14, 0));
    MonthlyResult r;
    QVERIFY(run(source, 1, &r));

    QCOMPARE(r.lines.size(), size_t(2));
    QCOMPARE(r.lines[0].POL, 1);
    QCOMPARE(r.lines[0].DATA1, QStringLiteral("PŘÍCHOD: Pondělí 06/01/2025 06:00"));
    QCOMPARE(r.lines[0].DATA2, QString());
    QCOMPARE(r.lines[0].data, 41);
    QCOMPARE(r.lines[1].POL, 2);
    QCOMPARE(r.lines[1].DATA1, QStringLiteral("ODCHOD: Pondělí 06/01/2025 14:00"));
    QCOMPARE(r.lines[1].DATA2, QStringLiteral("Mezisoučet: 8:00"));
    QCOMPARE(r.lines[1].datum, day(2025, 1, 6));
    QCOMPARE(r.lines[1].cas, at(14, 0));

    QCOMPARE(r.hasRecords, true);
    QCOMPARE(r.calendarName, QStringLiteral("Leden 2025"));
    QCOMPARE(r.VYSLEDEK_CELKEM, QStringLiteral("8:00"));
    QCOMPARE(r.KONECNY_VYSLEDEK, QStringLiteral("8:00"));
    QCOMPARE(r.VYSLEDEK_PRESC, QStringLiteral("0:00"));
    QCOMPARE(r.VYSLEDEK_PRESC_ROK, QStringLiteral("0:00"));
    QCOMPARE(r.VYSLEDEK_DOV, QStringLiteral("0:00"));
    QCOMPARE(r.VYSLEDEK_NEM, QStringLiteral("0:00"));
    QCOMPARE(r.VYSLEDEK_PROP, QStringLiteral("0:00"));
}

void TestMonthlyComputation::monthBalance_data()
{
    QTest::addColumn<qint32>("lastDeparture");
    QTest::addColumn<QString>("balance");

    // 20 working days, 19 days of 8 hours and a last day from 08:00 to ...
    QTest::newRow("exactly balanced") << at(16, 0) << QStringLiteral("0:00");
    QTest::newRow("one hour over") << at(17, 0) << QStringLiteral("+1:00");
    QTest::newRow("half an hour short") << at(15, 30) << QStringLiteral("-0:30");
    QTest::newRow("a few seconds short") << at(15, 59, 50) << QStringLiteral("0:00");
}

void TestMonthlyComputation::monthBalance()
{
    QFETCH(qint32, lastDeparture);
    QFETCH(QString, balance);

    FakeSource source;
    source.month(2025, 1, 20);
    int worked = 0;
    for (int d = 1; d <= 31 && worked < 20; ++d) {
        const qint32 date = day(2025, 1, d);
        if (StdDateTime::isWeekend(date))
            continue;
        ++worked;
        source.pair(date, at(8, 0), date, worked == 20 ? lastDeparture : at(16, 0));
    }
    MonthlyResult r;
    QVERIFY(run(source, 1, &r));

    QCOMPARE(r.PRACOVNICH_DNU, 20);
    QCOMPARE(r.owed, 160 * kHour);
    QCOMPARE(r.PRESCAS, r.ITEMTOTAL - 160 * kHour);
    QCOMPARE(r.VYSLEDEK_PRESC, balance);
    // January alone: the cumulative balance is the month's.
    QCOMPARE(r.PRESCAS_ROK, r.PRESCAS);
    QCOMPARE(r.VYSLEDEK_PRESC_ROK, balance);
}

void TestMonthlyComputation::amountRecords_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<qint32>("cas");
    QTest::addColumn<int>("total");  // 0 DOVOLENA, 1 NEMOC, 2 PROPLACENO, 3 VYCHOZI
    QTest::addColumn<qint64>("amount");
    QTest::addColumn<QString>("data1");

    QTest::newRow("vacation without time") << 15 << 0 << 0 << 8 * kHour << QStringLiteral("Dovolená: 08/01/2025");
    QTest::newRow("vacation 00:00") << 15 << 1 << 0 << 8 * kHour << QStringLiteral("Dovolená: 08/01/2025");
    QTest::newRow("vacation 04:00") << 15 << at(4, 0) << 0 << 4 * kHour << QStringLiteral("Dovolená: 08/01/2025 04:00");
    QTest::newRow("sickness without time") << 13 << 0 << 1 << 8 * kHour << QStringLiteral("Nemoc: 08/01/2025");
    QTest::newRow("sickness 02:30") << 13 << at(2, 30) << 1 << 150 * kMinute << QStringLiteral("Nemoc: 08/01/2025 02:30");
    QTest::newRow("paid out 02:00") << 10 << at(2, 0) << 2 << 2 * kHour << QStringLiteral("Proplaceno: -02:00");
    QTest::newRow("paid out without time") << 10 << 0 << 2 << qint64(0) << QStringLiteral("Proplaceno: -");
    QTest::newRow("positive balance 05:00") << 11 << at(5, 0) << 3 << 5 * kHour << QStringLiteral("Výchozí stav: +05:00");
    QTest::newRow("negative balance 01:15") << 12 << at(1, 15) << 3 << -75 * kMinute << QStringLiteral("Výchozí stav: -01:15");
    QTest::newRow("positive balance without time") << 11 << 0 << 3 << qint64(0) << QStringLiteral("Výchozí stav: +");
}

void TestMonthlyComputation::amountRecords()
{
    QFETCH(int, code);
    QFETCH(qint32, cas);
    QFETCH(int, total);
    QFETCH(qint64, amount);
    QFETCH(QString, data1);

    FakeSource source;
    source.add(code, day(2025, 1, 8), cas);
    MonthlyResult r;
    QVERIFY(run(source, 1, &r));

    const std::array<qint64, 4> totals{r.DOVOLENA, r.NEMOC, r.PROPLACENO, r.VYCHOZI};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(totals[size_t(i)], i == total ? amount : 0);
    QCOMPARE(r.lines.size(), size_t(1));
    QCOMPARE(r.lines[0].DATA1, data1);
    QCOMPARE(r.lines[0].DATA2, QString());
    QCOMPARE(r.DSTATE, 0);
    QCOMPARE(r.ITEMTOTAL, 0);
    // Everything but the paid-out time counts in the month's balance; all of it in the final.
    QCOMPARE(r.PRESCAS, r.DOVOLENA + r.NEMOC + r.VYCHOZI - r.owed);
    QCOMPARE(r.KONECNY_VYSLEDEK, StdDateTime::amountText(r.DOVOLENA + r.NEMOC + r.VYCHOZI - r.PROPLACENO));
}

void TestMonthlyComputation::pairLength_data()
{
    QTest::addColumn<qint32>("fromDate");
    QTest::addColumn<qint32>("fromTime");
    QTest::addColumn<qint32>("toDate");
    QTest::addColumn<qint32>("toTime");
    QTest::addColumn<bool>("counted");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QString>("remark");

    const qint32 mon = day(2025, 1, 6), tue = day(2025, 1, 7), wed = day(2025, 1, 8);
    QTest::newRow("59 minutes") << mon << at(8, 0) << mon << at(8, 59) << true << 59 * kMinute << QStringLiteral("Mezisoučet: 0:59");
    QTest::newRow("8 hours") << mon << at(6, 0) << mon << at(14, 0) << true << 8 * kHour << QStringLiteral("Mezisoučet: 8:00");
    QTest::newRow("no time between") << mon << at(6, 0) << mon << at(6, 0) << true << qint64(0) << QStringLiteral("Mezisoučet: 0:00");
    QTest::newRow("across midnight, 23 hours") << mon << at(23, 0) << tue << at(22, 0) << true << 23 * kHour << QStringLiteral("Mezisoučet: 23:00");
    QTest::newRow("exactly 24 hours") << mon << at(8, 0) << tue << at(8, 0) << true << 24 * kHour << QStringLiteral("Mezisoučet: 24:00");
    QTest::newRow("25 hours") << mon << at(8, 0) << tue << at(9, 0) << false << qint64(0) << kMissingArrival;
    QTest::newRow("two midnights") << mon << at(23, 0) << wed << at(1, 0) << false << qint64(0) << kMissingArrival;
}

void TestMonthlyComputation::pairLength()
{
    QFETCH(qint32, fromDate);
    QFETCH(qint32, fromTime);
    QFETCH(qint32, toDate);
    QFETCH(qint32, toTime);
    QFETCH(bool, counted);
    QFETCH(qint64, length);
    QFETCH(QString, remark);

    FakeSource source;
    source.pair(fromDate, fromTime, toDate, toTime);
    MonthlyResult r;
    QVERIFY(run(source, 1, &r));

    QCOMPARE(r.ITEMTOTAL, length);
    QCOMPARE(r.lines.back().DATA2, remark);
    QCOMPARE(r.DSTATE, counted ? 0 : 1);
    QCOMPARE(r.KONECNY_VYSLEDEK == kError, !counted);
}

void TestMonthlyComputation::threePairsRoundEachAndTheTotal()
{
    FakeSource source;
    for (int d = 6; d <= 8; ++d)
        source.pair(day(2025, 1, d), at(8, 0), day(2025, 1, d), at(10, 20, 30));
    MonthlyResult r;
    QVERIFY(run(source, 1, &r));

    QCOMPARE(remarks(r), (QStringList{QString(), QStringLiteral("Mezisoučet: 2:21"), QString(),
                                      QStringLiteral("Mezisoučet: 2:21"), QString(),
                                      QStringLiteral("Mezisoučet: 2:21")}));
    QCOMPARE(r.ITEMTOTAL, 3 * (140 * kMinute + 3000));
    QCOMPARE(r.VYSLEDEK_SKUT, QStringLiteral("7:02"));
    QCOMPARE(r.VYSLEDEK_RANNI, QStringLiteral("7:02"));
}

void TestMonthlyComputation::secondArrivalWarnsFromThatRecordOn()
{
    FakeSource source;
    const qint32 mon = day(2025, 1, 6);
    source.add(41, mon, at(7, 0));
    source.add(41, mon, at(7, 5));
    source.add(43, mon, at(15, 0));

    MonthlyComputation c(&source, kPerson, 1, 2025, kBoundaries);
    QVERIFY(c.prepare());
    QVERIFY(c.step());
    QCOMPARE(c.result().DSTATE, 0);
    QVERIFY(c.result().KONECNY_VYSLEDEK != kError);
    QVERIFY(c.result().VYSLEDEK_PRESC_ROK != kError);
    QVERIFY(c.step());
    QCOMPARE(c.result().DSTATE, 1);
    QCOMPARE(c.result().KONECNY_VYSLEDEK, kError);
    QCOMPARE(c.result().VYSLEDEK_PRESC_ROK, kError);
    c.finish();

    const MonthlyResult &r = c.result();
    QCOMPARE(remarks(r), (QStringList{QString(), kMissingDeparture, QStringLiteral("Mezisoučet: 7:55")}));
    QCOMPARE(r.ITEMTOTAL, 475 * kMinute);
    QCOMPARE(r.VYSLEDEK_SKUT, QStringLiteral("7:55"));
    QCOMPARE(r.KONECNY_VYSLEDEK, kError);
    QCOMPARE(r.VYSLEDEK_PRESC_ROK, kError);
    // The other totals keep their numbers.
    QCOMPARE(r.VYSLEDEK_CELKEM, QStringLiteral("7:55"));
    QCOMPARE(r.VYSLEDEK_PRESC, QStringLiteral("-152:05"));
}

void TestMonthlyComputation::departureWithoutArrivalCountsNothing()
{
    FakeSource source;
    const qint32 mon = day(2025, 1, 6), tue = day(2025, 1, 7);
    source.add(43, mon, at(5, 0));         // nothing open yet
    source.pair(mon, at(6, 0), mon, at(14, 0));
    source.add(43, mon, at(15, 0));        // the pair is closed already
    source.add(43, tue, at(1, 0));         // on the next day
    MonthlyResult r;
    QVERIFY(run(source, 1, &r));

    QCOMPARE(remarks(r), (QStringList{kMissingArrival, QString(), QStringLiteral("Mezisoučet: 8:00"),
                                      kMissingArrival, kMissingArrival}));
    QCOMPARE(r.ITEMTOTAL, 8 * kHour);
    QCOMPARE(r.RANNI, 8 * kHour);
    QCOMPARE(r.DSTATE, 1);
}

void TestMonthlyComputation::recordsWithoutTime()
{
    FakeSource source;
    const qint32 mon = day(2025, 1, 6);
    source.add(41, mon, at(6, 0));
    source.add(43, mon, 0);      // listed first (time 0), leaves the arrival open
    source.add(41, mon, 0);
    source.add(43, mon, at(14, 0));
    MonthlyResult r;
    QVERIFY(run(source, 1, &r));

    // Time 0 sorts before 06:00.
    QCOMPARE(r.lines[0].DATA1, QStringLiteral("ODCHOD: Pondělí 06/01/2025"));
    QCOMPARE(remarks(r), (QStringList{kMissingDeparture, kMissingArrival, QString(),
                                      QStringLiteral("Mezisoučet: 8:00")}));
    QCOMPARE(r.ITEMTOTAL, 8 * kHour);
    QCOMPARE(r.DSTATE, 1);
    QCOMPARE(r.KONECNY_VYSLEDEK, kError);
}

void TestMonthlyComputation::departureFirstInMonth_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<qint32>("arrivalDate");  // 0: no arrival before
    QTest::addColumn<qint32>("departureDate");
    QTest::addColumn<bool>("laterPair");
    QTest::addColumn<bool>("belongsToPrevious");

    QTest::newRow("after an arrival the evening before")
        << 2 << 2025 << day(2025, 1, 31) << day(2025, 2, 1) << true << true;
    QTest::newRow("only record of the month")
        << 2 << 2025 << day(2025, 1, 31) << day(2025, 2, 1) << false << true;
    QTest::newRow("January after December's arrival")
        << 1 << 2025 << day(2024, 12, 31) << day(2025, 1, 1) << true << true;
    QTest::newRow("no arrival before")
        << 2 << 2025 << qint32(0) << day(2025, 2, 1) << true << false;
    QTest::newRow("arrival more than 24 hours before")
        << 2 << 2025 << day(2025, 1, 30) << day(2025, 2, 1) << true << false;
}

void TestMonthlyComputation::departureFirstInMonth()
{
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(qint32, arrivalDate);
    QFETCH(qint32, departureDate);
    QFETCH(bool, laterPair);
    QFETCH(bool, belongsToPrevious);

    FakeSource source;
    if (arrivalDate)
        source.add(41, arrivalDate, at(22, 0));
    source.add(43, departureDate, at(6, 0));
    if (laterPair)
        source.pair(departureDate + 5, at(8, 0), departureDate + 5, at(16, 0));
    MonthlyResult r;
    QVERIFY(run(source, month, &r, year));

    QCOMPARE(r.lines.front().DATA2, belongsToPrevious ? kPreviousMonth : kMissingArrival);
    QCOMPARE(r.lines.front().DATA1.left(7), QStringLiteral("ODCHOD:"));
    QCOMPARE(r.ITEMTOTAL, laterPair ? 8 * kHour : 0);
    QCOMPARE(r.DSTATE, belongsToPrevious ? 0 : 1);
    QCOMPARE(r.KONECNY_VYSLEDEK == kError, !belongsToPrevious);
    QCOMPARE(r.hasRecords, laterPair || !belongsToPrevious);
    if (laterPair)
        QCOMPARE(r.lines.back().DATA2, QStringLiteral("Mezisoučet: 8:00"));
}

void TestMonthlyComputation::nightShiftAcrossTheTurnCountsOnce()
{
    FakeSource source;
    source.month(2025, 1, 1);
    source.month(2025, 2, 1);
    source.add(41, day(2025, 1, 31), at(22, 0));   // Friday evening
    source.add(43, day(2025, 2, 1), at(6, 0));     // Saturday morning
    source.pair(day(2025, 2, 3), at(8, 0), day(2025, 2, 3), at(16, 0));

    // January: the departure of 1 February closes the pair and is January's last line.
    MonthlyResult jan;
    QVERIFY(run(source, 1, &jan));
    QCOMPARE(jan.lines.size(), size_t(2));
    QCOMPARE(jan.lines[1].POL, 2);
    QCOMPARE(jan.lines[1].DATA1, QStringLiteral("ODCHOD: Sobota 01/02/2025 06:00"));
    QCOMPARE(jan.lines[1].DATA2, QStringLiteral("Mezisoučet: 8:00"));
    QCOMPARE(jan.ITEMTOTAL, 8 * kHour);
    QCOMPARE(jan.NOCNI_VIKEND, 8 * kHour);
    QCOMPARE(jan.DSTATE, 0);
    QCOMPARE(jan.VYSLEDEK_PRESC, QStringLiteral("0:00"));

    // February: the departure is listed and counts nothing; the year counts the night once
    // (once: "0:00"; twice: "+8:00"; never: "-8:00").
    MonthlyResult feb;
    QVERIFY(run(source, 2, &feb));
    QCOMPARE(remarks(feb), (QStringList{kPreviousMonth, QString(), QStringLiteral("Mezisoučet: 8:00")}));
    QCOMPARE(feb.lines[0].POL, 1);
    QCOMPARE(feb.ITEMTOTAL, 8 * kHour);
    QCOMPARE(feb.NOCNI_VIKEND, 0);
    QCOMPARE(feb.DSTATE, 0);
    QCOMPARE(feb.PRESCAS_ROK, 0);
    QCOMPARE(feb.VYSLEDEK_PRESC_ROK, QStringLiteral("0:00"));
}

void TestMonthlyComputation::workingDays_data()
{
    QTest::addColumn<QList<CalendarMonth>>("calendar");
    QTest::addColumn<qint32>("days");
    QTest::addColumn<bool>("hasCalendar");
    QTest::addColumn<QString>("name");

    auto month = [](qint32 kod, int rok, qint32 days, const QString &name) {
        CalendarMonth m;
        m.kod = kod;
        m.mesic = 3;
        m.rok = rok;
        m.pracovnichDnu = days;
        m.nazev = name;
        return m;
    };
    const QString brezen = QStringLiteral("Březen");
    QTest::newRow("no record") << QList<CalendarMonth>{} << 20 << false << QString();
    QTest::newRow("21 days") << QList<CalendarMonth>{month(1, 2025, 21, brezen)} << 21 << true << brezen;
    QTest::newRow("0 days") << QList<CalendarMonth>{month(1, 2025, 0, brezen)} << 20 << true << brezen;
    QTest::newRow("negative days") << QList<CalendarMonth>{month(1, 2025, -3, brezen)} << 20 << true << brezen;
    QTest::newRow("300 days, not its low byte") << QList<CalendarMonth>{month(1, 2025, 300, brezen)} << 300 << true << brezen;
    QTest::newRow("the lowest code counts")
        << QList<CalendarMonth>{month(5, 2025, 22, QStringLiteral("Druhý")), month(2, 2025, 19, QStringLiteral("První"))}
        << 19 << true << QStringLiteral("První");
    QTest::newRow("two-digit year does not match")
        << QList<CalendarMonth>{month(1, 25, 21, brezen)} << 20 << false << QString();
}

void TestMonthlyComputation::workingDays()
{
    QFETCH(QList<CalendarMonth>, calendar);
    QFETCH(qint32, days);
    QFETCH(bool, hasCalendar);
    QFETCH(QString, name);

    FakeSource source;
    source.calendar.assign(calendar.begin(), calendar.end());
    source.pair(day(2025, 3, 3), at(8, 0), day(2025, 3, 3), at(16, 0));
    MonthlyResult r;
    QVERIFY(run(source, 3, &r));

    QCOMPARE(r.PRACOVNICH_DNU, days);
    QCOMPARE(r.hasCalendar, hasCalendar);
    QCOMPARE(r.calendarName, name);
    QCOMPARE(r.owed, days * 8 * kHour);
    QCOMPARE(r.PRESCAS, 8 * kHour - days * 8 * kHour);
    // Only March has records: the year's balance is March's, with the same working days.
    QCOMPARE(r.PRESCAS_ROK, r.PRESCAS);
}

void TestMonthlyComputation::cumulativeBalance()
{
    FakeSource source;
    source.month(2025, 1, 1);
    source.month(2025, 3, 1);
    // January: initial balance 05:00 and one day worked against one owed: +5 hours.
    source.add(11, day(2025, 1, 2), at(5, 0));
    source.pair(day(2025, 1, 6), at(8, 0), day(2025, 1, 6), at(16, 0));
    // February has neither records nor a calendar record and adds nothing.
    // March: one day worked against one owed, two hours paid out.
    source.pair(day(2025, 3, 3), at(8, 0), day(2025, 3, 3), at(16, 0));
    source.add(10, day(2025, 3, 4), at(2, 0));
    // Another person's records are not read.
    source.add(15, day(2025, 2, 3), 0, kPerson + 1);

    MonthlyResult r;
    QVERIFY(run(source, 3, &r));
    QCOMPARE(r.VYCHOZI, 0);
    QCOMPARE(r.PRESCAS, 0);
    QCOMPARE(r.VYSLEDEK_PRESC, QStringLiteral("0:00"));
    QCOMPARE(r.KONECNY_VYSLEDEK, QStringLiteral("6:00"));
    // January's 5 hours, March's paid-out 2 hours.
    QCOMPARE(r.PRESCAS_ROK, 3 * kHour);
    QCOMPARE(r.VYSLEDEK_PRESC_ROK, QStringLiteral("+3:00"));

    // February with a record owes its 20 default days.
    source.add(13, day(2025, 2, 3), 0);
    QVERIFY(run(source, 3, &r));
    QCOMPARE(r.PRESCAS_ROK, 3 * kHour + 8 * kHour - 20 * 8 * kHour);
    QCOMPARE(r.VYSLEDEK_PRESC_ROK, QStringLiteral("-149:00"));
}

void TestMonthlyComputation::warningInAnEarlierMonth()
{
    FakeSource source;
    source.month(2025, 1, 1);
    source.month(2025, 2, 1);
    source.add(43, day(2025, 1, 7), at(14, 0));   // a departure without arrival in January
    source.pair(day(2025, 1, 8), at(8, 0), day(2025, 1, 8), at(16, 0));
    source.pair(day(2025, 2, 4), at(8, 0), day(2025, 2, 4), at(17, 0));

    MonthlyResult r;
    QVERIFY(run(source, 2, &r));
    QCOMPARE(r.DSTATE, 0);
    QCOMPARE(r.earlierMonthWarning, true);
    QCOMPARE(r.KONECNY_VYSLEDEK, QStringLiteral("9:00"));
    QCOMPARE(r.VYSLEDEK_PRESC, QStringLiteral("+1:00"));
    QCOMPARE(r.VYSLEDEK_PRESC_ROK, kError);
    // The unpaired departure added nothing to the running total.
    QCOMPARE(r.PRESCAS_ROK, 1 * kHour);
}

void TestMonthlyComputation::otherCodesAreLeftOut()
{
    FakeSource source;
    const qint32 mon = day(2025, 1, 6);
    source.add(51, mon, at(5, 0));
    source.add(41, mon, at(6, 0));
    source.add(53, mon, at(7, 0));
    source.add(14, mon, at(8, 0));
    source.add(0, mon, at(9, 0));
    source.add(66, mon, at(10, 0));
    source.add(43, mon, at(14, 0));
    MonthlyResult r;
    QVERIFY(run(source, 1, &r));

    QCOMPARE(r.lines.size(), size_t(2));
    QCOMPARE(r.lines[0].data, 41);
    QCOMPARE(r.lines[1].data, 43);
    QCOMPARE(r.lines[1].POL, 2);
    QCOMPARE(r.ITEMTOTAL, 8 * kHour);

    // A month with only door events has no attendance records.
    FakeSource doors;
    doors.add(51, mon, at(5, 0));
    QVERIFY(run(doors, 1, &r));
    QCOMPARE(r.hasRecords, false);
    QVERIFY(r.lines.empty());
}

void TestMonthlyComputation::monthWithoutRecords()
{
    FakeSource source;
    source.month(2025, 4, 21, QStringLiteral("Duben"));
    source.pair(day(2025, 3, 3), at(8, 0), day(2025, 3, 3), at(16, 0));

    MonthlyComputation c(&source, kPerson, 4, 2025, kBoundaries);
    QVERIFY(c.prepare());
    QCOMPARE(c.recordCount(), 0);
    QVERIFY(c.atEnd());
    QVERIFY(!c.step());
    c.finish();

    const MonthlyResult &r = c.result();
    QCOMPARE(r.hasRecords, false);
    QVERIFY(r.lines.empty());
    QCOMPARE(r.PRACOVNICH_DNU, 21);
    QCOMPARE(r.calendarName, QStringLiteral("Duben"));
    QCOMPARE(r.VYSLEDEK_SKUT, QStringLiteral("0:00"));
    QCOMPARE(r.KONECNY_VYSLEDEK, QStringLiteral("0:00"));
    QCOMPARE(r.VYSLEDEK_PRESC, QStringLiteral("0:00"));
    // March (20 default days, one worked) still counts in the year.
    QCOMPARE(r.VYSLEDEK_PRESC_ROK, QStringLiteral("-152:00"));
}

void TestMonthlyComputation::steppingWithPauseGivesTheSameResult()
{
    FakeSource source;
    source.month(2025, 1, 19);
    source.month(2025, 2, 20);
    source.add(11, day(2025, 1, 2), at(3, 0));
    source.pair(day(2025, 1, 31), at(21, 0), day(2025, 2, 1), at(5, 0));
    source.pair(day(2025, 2, 3), at(6, 0), day(2025, 2, 3), at(14, 20, 30));
    source.add(15, day(2025, 2, 4), 0);
    source.add(41, day(2025, 2, 5), at(13, 0));
    source.add(41, day(2025, 2, 5), at(13, 10));
    source.add(43, day(2025, 2, 5), at(21, 0));
    source.add(10, day(2025, 2, 6), at(1, 30));
    source.pair(day(2025, 2, 7), at(22, 0), day(2025, 2, 8), at(6, 0));
    source.add(13, day(2025, 2, 10), at(4, 0));
    source.add(41, day(2025, 2, 28), at(23, 0));
    source.add(43, day(2025, 3, 1), at(7, 0));

    MonthlyComputation whole(&source, kPerson, 2, 2025, kBoundaries);
    QVERIFY(whole.compute());

    const size_t readsBefore = source.ranges.size();
    MonthlyComputation stepped(&source, kPerson, 2, 2025, kBoundaries);
    QVERIFY(stepped.prepare());
    QCOMPARE(stepped.recordCount(), whole.recordCount());
    for (int i = 0; i < 5; ++i)
        QVERIFY(stepped.step());
    QCOMPARE(stepped.processedCount(), 5);
    QCOMPARE(stepped.result().lines.size(), size_t(5));
    const MonthlyResult paused = stepped.result();

    // Pressing the start button again while paused does not prepare again.
    QVERIFY(stepped.prepare());
    QCOMPARE(source.ranges.size(), readsBefore + 1);
    QCOMPARE(stepped.result().ITEMTOTAL, paused.ITEMTOTAL);
    QCOMPARE(stepped.processedCount(), 5);

    while (stepped.step()) {
    }
    QVERIFY(stepped.atEnd());
    stepped.finish();
    QVERIFY(stepped.isFinished());

    const MonthlyResult &a = whole.result();
    const MonthlyResult &b = stepped.result();
    QCOMPARE(b.lines.size(), a.lines.size());
    for (size_t i = 0; i < a.lines.size(); ++i) {
        QCOMPARE(b.lines[i].POL, a.lines[i].POL);
        QCOMPARE(b.lines[i].DATA1, a.lines[i].DATA1);
        QCOMPARE(b.lines[i].DATA2, a.lines[i].DATA2);
        QCOMPARE(b.lines[i].id, a.lines[i].id);
    }
    const std::array<qint64, 13> amountsA{a.ITEMTOTAL, a.DOVOLENA, a.NEMOC, a.PROPLACENO, a.VYCHOZI,
                                          a.RANNI, a.ODPOLEDNI, a.NOCNI, a.RANNI_VIKEND,
                                          a.ODPOLEDNI_VIKEND, a.NOCNI_VIKEND, a.PRESCAS, a.PRESCAS_ROK};
    const std::array<qint64, 13> amountsB{b.ITEMTOTAL, b.DOVOLENA, b.NEMOC, b.PROPLACENO, b.VYCHOZI,
                                          b.RANNI, b.ODPOLEDNI, b.NOCNI, b.RANNI_VIKEND,
                                          b.ODPOLEDNI_VIKEND, b.NOCNI_VIKEND, b.PRESCAS, b.PRESCAS_ROK};
    QCOMPARE(amountsB, amountsA);
    const QStringList textsA{a.VYSLEDEK_SKUT, a.VYSLEDEK_DOV, a.VYSLEDEK_NEM, a.VYSLEDEK_PROP,
                             a.VYSLEDEK_CELKEM, a.KONECNY_VYSLEDEK, a.VYSLEDEK_PRESC, a.VYSLEDEK_PRESC_ROK,
                             a.VYSLEDEK_RANNI, a.VYSLEDEK_ODPO, a.VYSLEDEK_NOCNI, a.VYSLEDEK_RANNI_V,
                             a.VYSLEDEK_ODPO_V, a.VYSLEDEK_NOCNI_V};
    const QStringList textsB{b.VYSLEDEK_SKUT, b.VYSLEDEK_DOV, b.VYSLEDEK_NEM, b.VYSLEDEK_PROP,
                             b.VYSLEDEK_CELKEM, b.KONECNY_VYSLEDEK, b.VYSLEDEK_PRESC, b.VYSLEDEK_PRESC_ROK,
                             b.VYSLEDEK_RANNI, b.VYSLEDEK_ODPO, b.VYSLEDEK_NOCNI, b.VYSLEDEK_RANNI_V,
                             b.VYSLEDEK_ODPO_V, b.VYSLEDEK_NOCNI_V};
    QCOMPARE(textsB, textsA);
    QCOMPARE(b.DSTATE, a.DSTATE);

    // And the month itself, checked once: the first departure belongs to January, the last
    // arrival is closed on 1 March, the second arrival of the 5th warns.
    QCOMPARE(a.lines.front().DATA2, kPreviousMonth);
    QCOMPARE(a.lines.back().DATA1, QStringLiteral("ODCHOD: Sobota 01/03/2025 07:00"));
    QCOMPARE(a.lines.back().DATA2, QStringLiteral("Mezisoučet: 8:00"));
    QCOMPARE(a.DSTATE, 1);
    QCOMPARE(a.RANNI, 8 * kHour + 20 * kMinute + 3000);
    QCOMPARE(a.ODPOLEDNI, 470 * kMinute);
    QCOMPARE(a.NOCNI_VIKEND, 16 * kHour);
    QCOMPARE(a.VYSLEDEK_SKUT, QStringLiteral("32:11"));
}

void TestMonthlyComputation::readsOnlyThePersonsRecordsOfTheYear()
{
    FakeSource source;
    source.pair(day(2025, 5, 5), at(8, 0), day(2025, 5, 5), at(16, 0));
    MonthlyResult r;
    QVERIFY(run(source, 5, &r));

    QVERIFY(!source.ranges.empty());
    for (const auto &[from, to] : source.ranges) {
        QVERIFY(from >= day(2024, 12, 31));
        QVERIFY(to <= day(2025, 6, 1));
        QVERIFY(from <= to);
    }
    QCOMPARE(source.calendarAsked, (std::vector<int>{1, 2, 3, 4, 5}));
}

void TestMonthlyComputation::sourceFailures_data()
{
    QTest::addColumn<bool>("logFails");

    QTest::newRow("log") << true;
    QTest::newRow("calendar") << false;
}

void TestMonthlyComputation::sourceFailures()
{
    QFETCH(bool, logFails);

    FakeSource source;
    source.pair(day(2025, 1, 6), at(8, 0), day(2025, 1, 6), at(16, 0));
    const QString failure = QStringLiteral("Soubor nelze číst");
    (logFails ? source.entriesError : source.calendarError) = failure;

    MonthlyComputation c(&source, kPerson, 1, 2025, kBoundaries);
    QString error;
    QVERIFY(!c.compute(&error));
    QCOMPARE(error, failure);
    QVERIFY(!c.isPrepared());
    QVERIFY(!c.step());
    QVERIFY(c.result().lines.empty());

    // The failure stays the answer of this run.
    error.clear();
    QVERIFY(!c.prepare(&error));
    QCOMPARE(error, failure);
}

void TestMonthlyComputation::monthOutOfRange()
{
    FakeSource source;
    for (int month : {0, 13}) {
        MonthlyComputation c(&source, kPerson, month, 2025, kBoundaries);
        QString error;
        QVERIFY(!c.prepare(&error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!c.step());
    }
    QVERIFY(source.ranges.empty());
}

QTEST_GUILESS_MAIN(TestMonthlyComputation)
#include "tst_monthlycomputation.moc"
