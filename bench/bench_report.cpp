// Monthly attendance report benchmark. Writes a log of 1,000,000 rows (200 people over five
// years, arrivals, departures, door events and some vacation) and one of 10,000 rows with as
// many rows per person and month (2 people, the same rows each), then times the report of one
// person for one month (its preparation and every record of the print pass):
//
//   - on the large log against the small one: the report reads only the person's records
//     through LPO:KeyOsoba_Dat_Cas, so it should stay within twice the time;
//   - against a reference that applies the same rules but reads the whole log once for every
//     month from January to the chosen month, in the order of LPO:KeyDatum_Cas, as the
//     report of the old program did. The totals must be identical; the ratio is printed.
//
//   build/bench/bench_report [DIR] [MONTH]   (DIR: a temporary directory; MONTH: 6)
//
// Exit code 0 when the report on the large log is within twice the small one and every total
// agrees; 1 otherwise.

#include "datacontext.h"
#include "monthlycomputation.h"
#include "stddatetime.h"
#include "storeattendancesource.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <random>

namespace {

constexpr int kFirstYear = 2021;
constexpr int kYears = 5;
constexpr int kRowsPerPerson = 5000;
constexpr int kReportYear = 2023;
constexpr qint32 kPerson = 1;

const ShiftBoundaries kBoundaries{StdDateTime::fromHms(12, 0), StdDateTime::fromHms(20, 0),
                                  StdDateTime::fromHms(4, 0)};

// One person's rows of one day, the same for a person whatever the size of the log: weekdays
// an arrival, two door events and a departure (now and then a forgotten departure, some days of
// vacation), weekends two door events.
void dayRows(int person, qint32 date, std::vector<std::pair<int, qint32>> *rows)
{
    rows->clear();
    std::mt19937 rng(quint32(person) * 100003u + quint32(date));
    auto at = [&](int h, int spread) { return StdDateTime::fromHms(h, int(rng() % quint32(spread)), int(rng() % 60)); };
    if (StdDateTime::isWeekend(date)) {
        rows->push_back({51, at(10, 59)});
        rows->push_back({53, at(16, 59)});
        return;
    }
    const quint32 roll = rng() % 100;
    if (roll < 4) {
        rows->push_back({15, 0});
        rows->push_back({51, at(11, 59)});
        return;
    }
    const bool night = roll < 14;
    rows->push_back({41, night ? at(21, 30) : at(5 + int(rng() % 8), 59)});
    rows->push_back({51, at(night ? 22 : 12, 30)});
    rows->push_back({53, at(night ? 23 : 13, 30)});
    if (roll != 50)
        rows->push_back({43, night ? at(22, 59) + 1 : at(15 + int(rng() % 6), 59)});
}

// Writes the log of `people` people, day by day, the people taking turns as the service writes
// them, and a calendar for the five years; each person gets his first 5,000 rows.
qint64 generate(const QString &dir, int people)
{
    DataContext ctx(dir);
    Store &store = ctx.store();
    ctx.file(TableId::LOG_POKOJE).use();
    ctx.file(TableId::KALENDAR).use();

    store.begin({TableId::KALENDAR}, 2000);
    Record k(TableId::KALENDAR);
    qint32 kod = 0;
    for (int y = kFirstYear; y < kFirstYear + kYears; ++y) {
        for (int m = 1; m <= 12; ++m) {
            k.clear();
            k.setInteger(KAL::KOD, ++kod);
            k.setInteger(KAL::MESIC, m);
            k.setInteger(KAL::ROK, y);
            k.setInteger(KAL::PRACOVNICH_DNU, 20 + (m % 3));
            k.setText(KAL::NAZEV, QStringLiteral("%1/%2").arg(m).arg(y));
            store.insert(k);
        }
    }
    store.commit();

    std::vector<int> written(size_t(people) + 1, 0);
    std::vector<std::pair<int, qint32>> rows;
    Record r(TableId::LOG_POKOJE);
    qint64 total = 0;
    int inBatch = 0;
    store.begin({TableId::LOG_POKOJE}, 2000);
    const qint32 first = StdDateTime::fromYmd(kFirstYear, 1, 1);
    const qint32 last = StdDateTime::fromYmd(kFirstYear + kYears, 1, 1);
    for (qint32 date = first; date < last; ++date) {
        for (int p = 1; p <= people; ++p) {
            dayRows(p, date, &rows);
            for (const auto &[code, cas] : rows) {
                if (written[size_t(p)] >= kRowsPerPerson)
                    break;
                ++written[size_t(p)];
                r.clear();
                r.setInteger(LPO::DRZITEL, p);
                r.setInteger(LPO::DATA, code);
                r.setInteger(LPO::DATUM, date);
                r.setInteger(LPO::CAS, cas);
                r.setInteger(LPO::CTECKA, 1 + p % 20);
                r.setText(LPO::KARTA, QStringLiteral("%1").arg(p, 8, 16, QLatin1Char('0')));
                store.insert(r);
                ++total;
                if (++inBatch == 20000) {
                    store.commit();
                    store.begin({TableId::LOG_POKOJE}, 2000);
                    inBatch = 0;
                }
            }
        }
    }
    store.commit();
    return total;
}

// The same rules over reads of the whole log: for every month from January to the chosen one
// the whole of LOG_POKOJE is read in the order of LPO:KeyDatum_Cas, page by page, and the
// person's records of that month kept; the calendar is read whole for every month.
class FullScanSource : public AttendanceSource
{
public:
    explicit FullScanSource(DataContext &ctx)
        : m_ctx(ctx)
    {
    }

    qint64 rowsRead = 0;

    bool personEntries(qint32 person, qint32 fromDate, qint32 toDate, std::vector<LogEntry> *out,
                       QString *error) override
    {
        out->clear();
        // The computation asks for the year up to the chosen month with a day either side.
        const int year = StdDateTime::year(fromDate) + 1;
        const int lastMonth = StdDateTime::month(toDate - 1);
        for (int month = 1; month <= lastMonth; ++month) {
            const qint32 lo = month == 1 ? fromDate : StdDateTime::firstDayOfMonth(year, month);
            const qint32 hi = month == lastMonth ? toDate : StdDateTime::lastDayOfMonth(year, month);
            if (!scan(person, lo, hi, out, error))
                return false;
        }
        return true;
    }

    bool calendarMonths(int month, int year, std::vector<CalendarMonth> *out, QString *error) override
    {
        out->clear();
        PageRequest req = PageRequest::forKey(tableDef(TableId::KALENDAR), KAL::KeyMesic);
        req.limit = 0;
        std::vector<Record> rows;
        const OpResult r = m_ctx.file(TableId::KALENDAR).readPage(req, &rows);
        if (!r.ok()) {
            *error = r.text;
            return false;
        }
        for (const Record &k : rows) {
            if (k.integer(KAL::MESIC) != month || k.integer(KAL::ROK) != year)
                continue;
            CalendarMonth m;
            m.kod = qint32(k.integer(KAL::KOD));
            m.mesic = month;
            m.rok = year;
            m.pracovnichDnu = qint32(k.integer(KAL::PRACOVNICH_DNU));
            m.nazev = k.text(KAL::NAZEV);
            out->push_back(m);
        }
        return true;
    }

private:
    bool scan(qint32 person, qint32 lo, qint32 hi, std::vector<LogEntry> *out, QString *error)
    {
        PageRequest req = PageRequest::forKey(tableDef(TableId::LOG_POKOJE), LPO::KeyDatum_Cas);
        req.limit = 10000;
        std::vector<Record> rows;
        for (;;) {
            const OpResult r = m_ctx.file(TableId::LOG_POKOJE).readPage(req, &rows);
            if (!r.ok()) {
                *error = r.text;
                return false;
            }
            rowsRead += qint64(rows.size());
            for (const Record &rec : rows) {
                const qint32 datum = qint32(rec.integer(LPO::DATUM));
                if (rec.integer(LPO::DRZITEL) != person || datum < lo || datum > hi)
                    continue;
                LogEntry e;
                e.id = qint32(rec.integer(LPO::ID));
                e.data = int(rec.integer(LPO::DATA));
                e.datum = datum;
                e.cas = qint32(rec.integer(LPO::CAS));
                e.drzitel = person;
                out->push_back(e);
            }
            if (int(rows.size()) < req.limit)
                return true;
            const Record &lastRow = rows.back();
            req.from = {lastRow.value(LPO::DATUM), lastRow.value(LPO::CAS), lastRow.value(LPO::ID)};
            req.inclusive = false;
        }
    }

    DataContext &m_ctx;
};

struct Timed
{
    double ms = 0;
    MonthlyResult result;
};

// The report `repeats` times, after one run that warms the caches and is not counted (unless
// `warmUp` is false).
Timed report(AttendanceSource *source, int month, int repeats, bool warmUp = true)
{
    Timed t;
    QElapsedTimer clock;
    clock.start();
    for (int i = warmUp ? -1 : 0; i < repeats; ++i) {
        if (i == 0)
            clock.restart();
        MonthlyComputation c(source, kPerson, month, kReportYear, kBoundaries);
        QString error;
        if (!c.compute(&error)) {
            std::fprintf(stderr, "report failed: %s\n", qPrintable(error));
            return t;
        }
        t.result = c.result();
    }
    t.ms = double(clock.nsecsElapsed()) / 1e6 / repeats;
    return t;
}

bool sameTotals(const MonthlyResult &a, const MonthlyResult &b)
{
    if (a.lines.size() != b.lines.size())
        return false;
    for (size_t i = 0; i < a.lines.size(); ++i) {
        if (a.lines[i].DATA1 != b.lines[i].DATA1 || a.lines[i].DATA2 != b.lines[i].DATA2)
            return false;
    }
    return a.ITEMTOTAL == b.ITEMTOTAL && a.DOVOLENA == b.DOVOLENA && a.NEMOC == b.NEMOC
        && a.PROPLACENO == b.PROPLACENO && a.VYCHOZI == b.VYCHOZI && a.RANNI == b.RANNI
        && a.ODPOLEDNI == b.ODPOLEDNI && a.NOCNI == b.NOCNI && a.RANNI_VIKEND == b.RANNI_VIKEND
        && a.ODPOLEDNI_VIKEND == b.ODPOLEDNI_VIKEND && a.NOCNI_VIKEND == b.NOCNI_VIKEND
        && a.PRESCAS == b.PRESCAS && a.PRESCAS_ROK == b.PRESCAS_ROK && a.DSTATE == b.DSTATE
        && a.KONECNY_VYSLEDEK == b.KONECNY_VYSLEDEK && a.VYSLEDEK_PRESC_ROK == b.VYSLEDEK_PRESC_ROK;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : tmp.path();
    const int month = argc > 2 ? qBound(1, QString::fromLocal8Bit(argv[2]).toInt(), 12) : 6;
    const QString largeDir = base + QStringLiteral("/large");
    const QString smallDir = base + QStringLiteral("/small");
    QDir().mkpath(largeDir);
    QDir().mkpath(smallDir);

    QElapsedTimer clock;
    clock.start();
    const qint64 largeRows = generate(largeDir, 200);
    const qint64 smallRows = generate(smallDir, 2);
    std::printf("logs written: %lld and %lld rows in %.1f s\n", static_cast<long long>(largeRows),
                static_cast<long long>(smallRows), double(clock.elapsed()) / 1000.0);

    DataContext large(largeDir);
    DataContext small(smallDir);
    for (DataContext *ctx : {&large, &small}) {
        ctx->file(TableId::LOG_POKOJE).open();
        ctx->file(TableId::KALENDAR).open();
    }
    StoreAttendanceSource largeSource(large);
    StoreAttendanceSource smallSource(small);
    const Timed onLarge = report(&largeSource, month, 30);
    const Timed onSmall = report(&smallSource, month, 30);

    FullScanSource reference(large);
    const Timed onReference = report(&reference, month, 1, false);

    const double ratio = onLarge.ms / onSmall.ms;
    std::printf("report of person %d for %d/%d (%zu lines, worked %s, year %s)\n", int(kPerson), month,
                kReportYear, onLarge.result.lines.size(), qPrintable(onLarge.result.VYSLEDEK_SKUT),
                qPrintable(onLarge.result.VYSLEDEK_PRESC_ROK));
    std::printf("log of %lld rows: %.3f ms\n", static_cast<long long>(largeRows), onLarge.ms);
    std::printf("log of %lld rows: %.3f ms\n", static_cast<long long>(smallRows), onSmall.ms);
    std::printf("large/small: %.2fx (goal: within 2x)\n", ratio);
    std::printf("reference reading the whole log once per month (%lld rows read): %.1f ms\n",
                static_cast<long long>(reference.rowsRead), onReference.ms);
    std::printf("reference/report: %.0fx\n", onReference.ms / onLarge.ms);

    const bool sameAsSmall = sameTotals(onLarge.result, onSmall.result);
    const bool sameAsReference = sameTotals(onLarge.result, onReference.result);
    std::printf("totals: %s the small log, %s the reference\n", sameAsSmall ? "identical to" : "DIFFER from",
                sameAsReference ? "identical to" : "DIFFER from");
    return ratio <= 2.0 && sameAsSmall && sameAsReference ? 0 : 1;
}
