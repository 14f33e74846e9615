#include "reportfixture.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "sqlitestore.h"
#include "storeattendancesource.h"

#include <QtTest>

using namespace ReportFixture;

namespace {

constexpr qint32 kPerson = 7;

// A store that notes every page read and can be told to fail them.
class RecordingStore : public SqliteStore
{
public:
    explicit RecordingStore(QString directory)
        : SqliteStore(std::move(directory))
    {
    }
    StoreResult readPage(TableId table, const PageRequest &request, std::vector<Record> *out) override
    {
        if (recording)
            reads.push_back({table, request});
        if (failReads) {
            out->clear();
            return {StoreStatus::IoError, QStringLiteral("disk I/O error (injected)")};
        }
        return SqliteStore::readPage(table, request, out);
    }

    struct Read
    {
        TableId table;
        PageRequest request;
    };
    static inline std::vector<Read> reads;
    static inline bool recording = false;
    static inline bool failReads = false;
};

bool hasCondition(const PageRequest &r, int field, Condition::Op op, qint64 value)
{
    for (const Condition &c : r.where) {
        if (c.field == field && c.op == op && c.value.toLongLong() == value)
            return true;
    }
    return false;
}

} // namespace

// The report's reads over the tables: the person's records through the person, date and time
// key, the calendar month, the address book.
class TstStoreAttendanceSource : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void personEntriesAreThePersonsRecordsInKeyOrder();
    void aReportReadsTheLogOnceThroughThePersonKey();
    void calendarMonthsLowestCodeFirst();
    void people();
    void readFailureNamesTheTable();
};

void TstStoreAttendanceSource::init()
{
    RecordingStore::reads.clear();
    RecordingStore::recording = false;
    RecordingStore::failReads = false;
    DataContext::setStoreFactory([](const QString &dir) { return std::make_unique<RecordingStore>(dir); });
}

void TstStoreAttendanceSource::cleanup()
{
    DataContext::setStoreFactory({});
}

void TstStoreAttendanceSource::personEntriesAreThePersonsRecordsInKeyOrder()
{
    ScratchDir dir;
    DataContext ctx(dir.path());
    // Written out of order, with other people's records and records outside the dates between.
    QVERIFY(addLog(ctx, kPerson, 43, day(2025, 3, 4), at(14, 0)));
    QVERIFY(addLog(ctx, kPerson + 1, 41, day(2025, 3, 4), at(6, 0)));
    QVERIFY(addLog(ctx, kPerson, 41, day(2025, 3, 4), at(6, 0)));
    QVERIFY(addLog(ctx, kPerson, 15, day(2025, 3, 2), 0));
    QVERIFY(addLog(ctx, kPerson, 41, day(2025, 2, 28), at(22, 0)));
    QVERIFY(addLog(ctx, kPerson, 43, day(2025, 4, 1), at(6, 0)));
    QVERIFY(addLog(ctx, kPerson, 51, day(2025, 3, 31), at(23, 0)));
    QVERIFY(addLog(ctx, kPerson, 41, day(2025, 3, 4), at(6, 0)));   // same date and time

    StoreAttendanceSource source(ctx);
    std::vector<LogEntry> entries;
    QString error;
    QVERIFY(source.personEntries(kPerson, day(2025, 3, 1), day(2025, 3, 31), &entries, &error));

    QCOMPARE(entries.size(), size_t(5));
    const std::vector<std::pair<int, qint32>> expected{
        {15, day(2025, 3, 2)}, {41, day(2025, 3, 4)}, {41, day(2025, 3, 4)}, {43, day(2025, 3, 4)},
        {51, day(2025, 3, 31)}};
    for (size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(entries[i].data, expected[i].first);
        QCOMPARE(entries[i].datum, expected[i].second);
        QCOMPARE(entries[i].drzitel, kPerson);
    }
    // Equal date and time: the entry number decides.
    QVERIFY(entries[1].id < entries[2].id);
    QCOMPARE(entries[1].cas, at(6, 0));
    QCOMPARE(entries[3].cas, at(14, 0));
}

void TstStoreAttendanceSource::aReportReadsTheLogOnceThroughThePersonKey()
{
    ScratchDir dir;
    DataContext ctx(dir.path());
    QVERIFY(addMonth(ctx, 2025, 5, 1, QStringLiteral("Květen")));
    QVERIFY(addPair(ctx, kPerson, day(2025, 5, 5), at(6, 0), at(14, 0)));
    QVERIFY(addPair(ctx, kPerson + 1, day(2025, 5, 5), at(6, 0), at(15, 0)));
    QVERIFY(addPair(ctx, kPerson, day(2024, 5, 6), at(6, 0), at(18, 0)));

    StoreAttendanceSource source(ctx);
    RecordingStore::recording = true;
    MonthlyComputation c(&source, kPerson, 5, 2025, ShiftBoundaries{at(12, 0), at(20, 0), at(4, 0)});
    QString error;
    QVERIFY2(c.compute(&error), qPrintable(error));
    RecordingStore::recording = false;

    QCOMPARE(c.result().VYSLEDEK_SKUT, QStringLiteral("8:00"));
    QCOMPARE(c.result().VYSLEDEK_PRESC, QStringLiteral("0:00"));
    QCOMPARE(c.result().calendarName, QStringLiteral("Květen"));

    std::vector<PageRequest> logReads;
    int calendarReads = 0;
    for (const auto &read : RecordingStore::reads) {
        if (read.table == TableId::LOG_POKOJE)
            logReads.push_back(read.request);
        else if (read.table == TableId::KALENDAR)
            ++calendarReads;
    }
    // One read of the log for the whole report, in the order of LPO:KeyOsoba_Dat_Cas, narrowed
    // to the person and to the dates of the year up to the chosen month.
    QCOMPARE(logReads.size(), size_t(1));
    const PageRequest &r = logReads.front();
    const KeyDef &key = tableDef(TableId::LOG_POKOJE).keys[LPO::KeyOsoba_Dat_Cas];
    QCOMPARE(r.order, key.fields);
    QCOMPARE(r.optKey, key.opt);
    QCOMPARE(r.limit, 0);
    QVERIFY(hasCondition(r, LPO::DRZITEL, Condition::Eq, kPerson));
    QVERIFY(hasCondition(r, LPO::DATUM, Condition::Ge, day(2024, 12, 31)));
    QVERIFY(hasCondition(r, LPO::DATUM, Condition::Le, day(2025, 6, 1)));
    // The calendar: once per month of the yearly pass, each narrowed to its month and year.
    QCOMPARE(calendarReads, 5);
}

void TstStoreAttendanceSource::calendarMonthsLowestCodeFirst()
{
    ScratchDir dir;
    DataContext ctx(dir.path());
    QVERIFY(addMonth(ctx, 2025, 3, 22, QStringLiteral("Druhý"), 9));
    QVERIFY(addMonth(ctx, 2025, 3, 19, QStringLiteral("První"), 4));
    QVERIFY(addMonth(ctx, 2024, 3, 21, QStringLiteral("Loni"), 2));
    QVERIFY(addMonth(ctx, 25, 3, 21, QStringLiteral("Dvě číslice"), 1));
    QVERIFY(addMonth(ctx, 2025, 4, 20, QStringLiteral("Duben"), 3));

    StoreAttendanceSource source(ctx);
    std::vector<CalendarMonth> months;
    QString error;
    QVERIFY(source.calendarMonths(3, 2025, &months, &error));
    QCOMPARE(months.size(), size_t(2));
    QCOMPARE(months[0].kod, 4);
    QCOMPARE(months[0].nazev, QStringLiteral("První"));
    QCOMPARE(months[0].pracovnichDnu, 19);
    QCOMPARE(months[0].pracovnichHodin, 19 * 8);
    QCOMPARE(months[0].mesic, 3);
    QCOMPARE(months[0].rok, 2025);
    QCOMPARE(months[1].kod, 9);

    QVERIFY(source.calendarMonths(5, 2025, &months, &error));
    QVERIFY(months.empty());
}

void TstStoreAttendanceSource::people()
{
    ScratchDir dir;
    DataContext ctx(dir.path());
    QVERIFY(addPerson(ctx, 12, QStringLiteral("Šťastná Eva"), QStringLiteral("Lázeňská 3"),
                      QStringLiteral("Luhačovice"), QStringLiteral("76326"), QStringLiteral("777 123 456")));
    QVERIFY(addPerson(ctx, 3, QStringLiteral("Adam Petr")));

    StoreAttendanceSource source(ctx);
    ReportPerson p;
    QString error;
    QVERIFY(source.person(12, &p, &error));
    QCOMPARE(p.kod, 12);
    QCOMPARE(p.nazev, QStringLiteral("Šťastná Eva"));
    QCOMPARE(p.ulice, QStringLiteral("Lázeňská 3"));
    QCOMPARE(p.mesto, QStringLiteral("Luhačovice"));
    QCOMPARE(p.psc, QStringLiteral("76326"));
    QCOMPARE(p.mobil, QStringLiteral("777 123 456"));

    // No such person: false without an error.
    QVERIFY(!source.person(99, &p, &error));
    QVERIFY(error.isEmpty());

    std::vector<ReportPerson> all;
    QVERIFY(source.people(&all, &error));
    QCOMPARE(all.size(), size_t(2));
    QCOMPARE(all[0].kod, 3);
    QCOMPARE(all[1].kod, 12);
}

void TstStoreAttendanceSource::readFailureNamesTheTable()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    QVERIFY(addPerson(ctx, 1, QStringLiteral("Adam Petr")));
    StoreAttendanceSource source(ctx);
    RecordingStore::failReads = true;

    std::vector<LogEntry> entries;
    QString error;
    QVERIFY(!source.personEntries(1, 1, 100000, &entries, &error));
    QCOMPARE(error, QStringLiteral("disk I/O error (injected)"));
    QCOMPARE(source.failedTable(), TableId::LOG_POKOJE);

    std::vector<CalendarMonth> months;
    error.clear();
    QVERIFY(!source.calendarMonths(1, 2025, &months, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(source.failedTable(), TableId::KALENDAR);

    ReportPerson p;
    error.clear();
    QVERIFY(!source.person(1, &p, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(source.failedTable(), TableId::ADR_DAT);
}

QTEST_GUILESS_MAIN(TstStoreAttendanceSource)
#include "tst_storeattendancesource.moc"
