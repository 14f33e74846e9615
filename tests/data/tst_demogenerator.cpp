#include "datacontext.h"
#include "demogenerator.h"
#include "eventcodes.h"
#include "globals.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "settingsfile.h"
#include "stddatetime.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <map>
#include <set>

// The demo installation and the generated logs of the benchmarks.
class TstDemoGenerator : public QObject
{
    Q_OBJECT

private slots:
    void refusesDirectoryWithOurFiles_data();
    void refusesDirectoryWithOurFiles();
    void createsMissingDirectoryBesideOtherFiles();
    void czechHolidays_data();
    void czechHolidays();
    void calendarHasRealWorkingDays_data();
    void calendarHasRealWorkingDays();
    void demoCalendarCoversBothYears();
    void peopleCardsAndLogins();
    void unitsAlarmsShiftsAndStatus();
    void logHasEveryCodeAndRealShifts();
    void sameSeedAndDateGiveTheSameInstallation();
    void generatedLogHasExactRowsInTimeOrder();
};

namespace {

const QDate demoToday(2026, 3, 18);

DemoGenerator::DemoOptions demoOptions(quint32 seed = 1)
{
    DemoGenerator::DemoOptions o;
    o.today = demoToday;
    o.seed = seed;
    return o;
}

std::vector<Record> readAll(DataContext &ctx, TableId table, int key)
{
    PageRequest req = PageRequest::forKey(ctx.file(table).def(), key);
    req.optKey = false;
    req.limit = 0;
    std::vector<Record> rows;
    const OpResult r = ctx.file(table).readPage(req, &rows);
    if (!r.ok())
        qWarning() << "read failed" << r.text;
    return rows;
}

// Every row of every table, as text, in primary-key order.
QStringList dump(const QString &dir)
{
    QStringList out;
    DataContext ctx(dir);
    for (const TableDef *def : allTables()) {
        for (const Record &r : readAll(ctx, def->id, def->primaryKey())) {
            QStringList values;
            for (int f = 0; f < r.fieldCount(); ++f)
                values << r.value(f).toString();
            out << QString::fromLatin1(def->label) + QLatin1Char(':') + values.join(QLatin1Char('|'));
        }
    }
    return out;
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

void TstDemoGenerator::refusesDirectoryWithOurFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("address book") << QStringLiteral("adresar.sqlite");
    QTest::newRow("log") << QStringLiteral("logy_pokoje.sqlite");
    QTest::newRow("cards, other case") << QStringLiteral("DATABZE_KARET.SQLITE");
    QTest::newRow("a journal left over") << QStringLiteral("status.sqlite-journal");
    QTest::newRow("settings file") << QStringLiteral("halvane.INI");
}

void TstDemoGenerator::refusesDirectoryWithOurFiles()
{
    QFETCH(QString, file);
    ScratchDir dir;
    ScriptedReporter reporter;
    QFile f(dir.file(file));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("something of the user's");
    f.close();

    QString error;
    QVERIFY(!DemoGenerator::createDemo(dir.path(), demoOptions(), &error));
    QVERIFY2(error.contains(file), qPrintable(error));
    QCOMPARE(filesIn(dir.path()), QStringList{file});
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("something of the user's"));
    QVERIFY(reporter.entries().isEmpty());
}

void TstDemoGenerator::createsMissingDirectoryBesideOtherFiles()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    QFile note(dir.file(QStringLiteral("poznamky.txt")));
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.close();
    QString error;
    QVERIFY2(DemoGenerator::createDemo(dir.path(), demoOptions(), &error), qPrintable(error));

    const QString nested = dir.file(QStringLiteral("hotel/demo"));
    QVERIFY2(DemoGenerator::createDemo(nested, demoOptions(), &error), qPrintable(error));
    QStringList expected;
    for (const TableDef *def : allTables())
        expected << def->fileName();
    expected << SettingsFile::fileName();
    expected.sort();
    QStringList got = filesIn(nested);
    got.sort();
    QCOMPARE(got, expected);
    // A second demo into the same directory is refused.
    QVERIFY(!DemoGenerator::createDemo(nested, demoOptions(), &error));
    QVERIFY(reporter.entries().isEmpty());
}

void TstDemoGenerator::czechHolidays_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QDate>("easter");
    QTest::addColumn<int>("holidays");
    QTest::newRow("2015, before Good Friday") << 2015 << QDate(2015, 4, 5) << 12;
    QTest::newRow("2019") << 2019 << QDate(2019, 4, 21) << 13;
    QTest::newRow("2024, Easter in March") << 2024 << QDate(2024, 3, 31) << 13;
    QTest::newRow("2025") << 2025 << QDate(2025, 4, 20) << 13;
    QTest::newRow("2026") << 2026 << QDate(2026, 4, 5) << 13;
    QTest::newRow("2038, latest Easter") << 2038 << QDate(2038, 4, 25) << 13;
}

void TstDemoGenerator::czechHolidays()
{
    QFETCH(int, year);
    QFETCH(QDate, easter);
    QFETCH(int, holidays);
    QCOMPARE(DemoGenerator::easterSunday(year), easter);
    const QList<QDate> days = DemoGenerator::publicHolidays(year);
    QCOMPARE(days.size(), holidays);
    QVERIFY(days.contains(easter.addDays(1)));
    QCOMPARE(days.contains(easter.addDays(-2)), year >= 2016);
    QVERIFY(days.contains(QDate(year, 5, 8)));
    QVERIFY(days.contains(QDate(year, 7, 6)));
    QVERIFY(days.contains(QDate(year, 11, 17)));
    QVERIFY(std::is_sorted(days.begin(), days.end()));
}

void TstDemoGenerator::calendarHasRealWorkingDays_data()
{
    // Counted by hand from a calendar: weekdays less the holidays that fall on them.
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("days");
    QTest::newRow("2026-01, New Year on Thursday") << 2026 << 1 << 21;
    QTest::newRow("2026-03, no holiday") << 2026 << 3 << 22;
    QTest::newRow("2026-04, Good Friday and Easter Monday") << 2026 << 4 << 20;
    QTest::newRow("2026-05, two Fridays") << 2026 << 5 << 19;
    QTest::newRow("2026-07, 5 July on Sunday") << 2026 << 7 << 22;
    QTest::newRow("2026-10") << 2026 << 10 << 21;
    QTest::newRow("2026-12, 26 December on Saturday") << 2026 << 12 << 21;
    QTest::newRow("2025-04") << 2025 << 4 << 20;
    QTest::newRow("2025-05, two Thursdays") << 2025 << 5 << 20;
    QTest::newRow("2025-07, both on the weekend") << 2025 << 7 << 23;
    QTest::newRow("2025-12, three weekdays") << 2025 << 12 << 20;
}

void TstDemoGenerator::calendarHasRealWorkingDays()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, days);
    QCOMPARE(DemoGenerator::workingDays(year, month), days);
}

void TstDemoGenerator::demoCalendarCoversBothYears()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    QString error;
    QVERIFY2(DemoGenerator::createDemo(dir.path(), demoOptions(), &error), qPrintable(error));
    DataContext ctx(dir.path());
    const std::vector<Record> calendar = readAll(ctx, TableId::KALENDAR, KAL::KeyKod);
    QCOMPARE(int(calendar.size()), 24);
    std::set<std::pair<qint64, qint64>> months;
    for (const Record &r : calendar) {
        const int year = int(r.integer(KAL::ROK));
        const int month = int(r.integer(KAL::MESIC));
        QVERIFY(year == 2025 || year == 2026);
        months.insert({year, month});
        const int days = DemoGenerator::workingDays(year, month);
        QCOMPARE(r.integer(KAL::PRACOVNICH_DNU), days);
        QCOMPARE(r.integer(KAL::PRACOVNICH_HODIN), 8 * days);
        QCOMPARE(r.text(KAL::NAZEV), DemoGenerator::monthName(month) + QLatin1Char(' ') + QString::number(year));
    }
    QCOMPARE(int(months.size()), 24);
    QVERIFY(reporter.entries().isEmpty());
}

void TstDemoGenerator::peopleCardsAndLogins()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    QString error;
    QVERIFY2(DemoGenerator::createDemo(dir.path(), demoOptions(), &error), qPrintable(error));
    DataContext ctx(dir.path());

    const std::vector<Record> people = readAll(ctx, TableId::ADR_DAT, ADR::KeyKod);
    QCOMPARE(int(people.size()), 30);
    std::map<qint64, QString> passwords;
    std::set<QString> names;
    for (const Record &p : people) {
        QVERIFY(!p.text(ADR::NAZEV).isEmpty());
        QVERIFY(!p.text(ADR::ULICE).isEmpty());
        QVERIFY(!p.text(ADR::MESTO).isEmpty());
        QCOMPARE(p.text(ADR::PSC).size(), 6);
        QVERIFY(!p.text(ADR::PASS).isEmpty());
        passwords[p.integer(ADR::KOD)] = p.text(ADR::PASS);
        names.insert(p.text(ADR::NAZEV));
    }
    QCOMPARE(int(names.size()), 30);
    // The logins the header documents.
    QCOMPARE(people[0].text(ADR::NAZEV), QStringLiteral("Správce Systému"));
    QCOMPARE(people[0].text(ADR::PASS), QStringLiteral("demo"));
    QCOMPARE(people[1].text(ADR::NAZEV), QStringLiteral("Jana Nováková"));
    QCOMPARE(people[1].text(ADR::PASS), QStringLiteral("101"));
    for (const Record &p : people)
        if (p.integer(ADR::KOD) != 1)
            QCOMPARE(p.text(ADR::PASS), QString::number(p.integer(ADR::OSOBNI_CISLO)));

    std::set<qint64> categories;
    for (const Record &c : readAll(ctx, TableId::KAT_DAT, DAT::KeyKod))
        categories.insert(c.integer(DAT::KOD));
    QVERIFY(categories.size() >= 1 && categories.size() <= 2);

    std::map<qint64, int> activeCards;
    std::set<QString> rfids;
    int blocked = 0;
    for (const Record &c : readAll(ctx, TableId::CARDS, CAR::Primary)) {
        QVERIFY(passwords.count(c.integer(CAR::DRZITEL)));
        QVERIFY(categories.count(c.integer(CAR::KATEGORIE)));
        QVERIFY(!c.text(CAR::KOD_RFID).isEmpty());
        QVERIFY(!c.text(CAR::KOD).isEmpty());
        rfids.insert(c.text(CAR::KOD_RFID));
        if (c.integer(CAR::STAV_KARTY) == 1)
            ++activeCards[c.integer(CAR::DRZITEL)];
        else
            ++blocked;
    }
    QCOMPARE(int(activeCards.size()), 30);
    for (const auto &[person, n] : activeCards)
        QCOMPARE(n, 1);
    QVERIFY(blocked >= 1);
    QCOMPARE(int(rfids.size()), 30 + blocked);
    QVERIFY(reporter.entries().isEmpty());
}

void TstDemoGenerator::unitsAlarmsShiftsAndStatus()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    QString error;
    QVERIFY2(DemoGenerator::createDemo(dir.path(), demoOptions(), &error), qPrintable(error));
    DataContext ctx(dir.path());

    const std::vector<Record> units = readAll(ctx, TableId::GCU_POK, GCP::PRIMARY);
    QVERIFY(units.size() >= 10);
    std::set<qint64> unitIds;
    std::set<QString> unitNames;
    for (const Record &u : units) {
        QVERIFY(!u.text(GCP::NAZEV).isEmpty());
        unitIds.insert(u.integer(GCP::ID_GCU));
        unitNames.insert(u.text(GCP::NAZEV));
        // The table's defaults for what the demo does not set.
        QCOMPARE(u.integer(GCP::POUZIVAT_ZVUK_OK), 2);
        QCOMPARE(u.integer(GCP::POUZIVAT_ZVUK_ERROR), 3);
        QCOMPARE(u.integer(GCP::DELKA_ZVUKU), 20);
    }
    QCOMPARE(unitNames.size(), units.size());
    QVERIFY(unitIds.count(1));

    const std::vector<Record> alarms = readAll(ctx, TableId::GCU_ALARM, ALR::Keyid);
    QCOMPARE(int(alarms.size()), 2);
    for (const Record &a : alarms) {
        QVERIFY(unitIds.count(a.integer(ALR::CISLO_GCU)));
        QVERIFY(a.integer(ALR::ALARM_VYSTUP) > 0);
    }

    FileManager &settings = ctx.file(TableId::SETINGS);
    QVERIFY(settings.fetch(SET::PRIMARY, {1}));
    QCOMPARE(settings.record().integer(SET::NOCNI_DO), StdDateTime::fromHms(4, 0));
    QCOMPARE(settings.record().integer(SET::RANNI_DO), StdDateTime::fromHms(12, 0));
    QCOMPARE(settings.record().integer(SET::ODPOLEDNI_DO), StdDateTime::fromHms(20, 0));

    FileManager &state = ctx.file(TableId::STATE);
    QVERIFY(state.fetch(STA::PRIMARY, {1}));
    QCOMPARE(state.record().integer(STA::READY2UPDATE), 0);

    // The report year of the settings file is that of "today".
    SettingsFile ini(SettingsFile::pathIn(dir.path()));
    QVERIFY(ini.load());
    QCOMPARE(ini.value(GLO::preservedSection(), QStringLiteral("GLO:Rok")), QStringLiteral("26"));
    QVERIFY(reporter.entries().isEmpty());
}

void TstDemoGenerator::logHasEveryCodeAndRealShifts()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    QString error;
    QVERIFY2(DemoGenerator::createDemo(dir.path(), demoOptions(), &error), qPrintable(error));
    DataContext ctx(dir.path());

    std::map<qint64, std::set<QString>> cardsOf;
    for (const Record &c : readAll(ctx, TableId::CARDS, CAR::Primary))
        cardsOf[c.integer(CAR::DRZITEL)].insert(c.text(CAR::KOD_RFID));
    std::set<qint64> unitIds;
    for (const Record &u : readAll(ctx, TableId::GCU_POK, GCP::PRIMARY))
        unitIds.insert(u.integer(GCP::ID_GCU));

    const qint32 first = StdDateTime::fromYmd(2026, 1, 1);
    const qint32 today = StdDateTime::fromQDate(demoToday);
    const std::vector<Record> log = readAll(ctx, TableId::LOG_POKOJE, LPO::KeyId);
    QVERIFY(log.size() > 5000);

    std::set<int> codes;
    bool halfDay = false;
    qint32 lastDate = 0;
    qint64 lastCas = 0;
    for (const Record &r : log) {
        const int code = int(r.integer(LPO::DATA));
        const qint32 date = qint32(r.integer(LPO::DATUM));
        codes.insert(code);
        QVERIFY(date >= first && date < today);
        // Written in time order, as the service writes.
        QVERIFY(date > lastDate || (date == lastDate && r.integer(LPO::CAS) >= lastCas));
        lastDate = date;
        lastCas = r.integer(LPO::CAS);
        QVERIFY(cardsOf.count(r.integer(LPO::DRZITEL)));
        if (EventCodes::isAttendanceCode(code) && code != EventCodes::Prichod && code != EventCodes::Odchod) {
            // Entered by hand: no reader, no card.
            QCOMPARE(r.integer(LPO::CTECKA), 0);
            if (code == EventCodes::Dovolena && r.integer(LPO::CAS) == StdDateTime::fromHms(4, 0))
                halfDay = true;
        } else {
            QVERIFY(unitIds.count(r.integer(LPO::CTECKA)));
            QVERIFY(cardsOf[r.integer(LPO::DRZITEL)].count(r.text(LPO::KARTA)));
        }
    }
    for (const EventCodes::Entry &e : EventCodes::table())
        QVERIFY2(codes.count(e.code), qPrintable(QString::number(e.code)));
    QVERIFY(halfDay);

    // Each person's arrivals and departures in the order the report reads them.
    int acrossMidnight = 0, acrossMonth = 0, missingDepartures = 0;
    std::set<qint64> withAttendance;
    for (const Record &person : readAll(ctx, TableId::ADR_DAT, ADR::KeyKod)) {
        const qint64 kod = person.integer(ADR::KOD);
        PageRequest req = PageRequest::forKey(ctx.file(TableId::LOG_POKOJE).def(), LPO::KeyOsoba_Dat_Cas);
        req.where = {{LPO::DRZITEL, Condition::Eq, kod}};
        req.limit = 0;
        std::vector<Record> rows;
        QVERIFY(ctx.file(TableId::LOG_POKOJE).readPage(req, &rows).ok());
        const Record *open = nullptr;
        for (const Record &r : rows) {
            const int code = int(r.integer(LPO::DATA));
            if (code == EventCodes::Prichod) {
                withAttendance.insert(kod);
                if (open)
                    ++missingDepartures;
                open = &r;
            } else if (code == EventCodes::Odchod) {
                QVERIFY2(open, "a departure without an arrival");
                const qint32 from = qint32(open->integer(LPO::DATUM));
                const qint32 to = qint32(r.integer(LPO::DATUM));
                QVERIFY(to - from <= 1);
                if (to == from + 1) {
                    ++acrossMidnight;
                    if (StdDateTime::month(from) != StdDateTime::month(to))
                        ++acrossMonth;
                    // Night shifts start late in the evening.
                    QVERIFY(open->integer(LPO::CAS) > StdDateTime::fromHms(20, 0));
                }
                open = nullptr;
            }
        }
    }
    QCOMPARE(int(withAttendance.size()), 30);
    QVERIFY(acrossMidnight > 10);
    QVERIFY(acrossMonth >= 1);
    QVERIFY(missingDepartures >= 2 && missingDepartures <= 6);
    QVERIFY(reporter.entries().isEmpty());
}

void TstDemoGenerator::sameSeedAndDateGiveTheSameInstallation()
{
    ScratchDir a, b, c;
    ScriptedReporter reporter;
    QString error;
    QVERIFY2(DemoGenerator::createDemo(a.path(), demoOptions(7), &error), qPrintable(error));
    QVERIFY2(DemoGenerator::createDemo(b.path(), demoOptions(7), &error), qPrintable(error));
    QVERIFY2(DemoGenerator::createDemo(c.path(), demoOptions(8), &error), qPrintable(error));
    const QStringList first = dump(a.path());
    QVERIFY(first.size() > 5000);
    QCOMPARE(dump(b.path()), first);
    QVERIFY(dump(c.path()) != first);
}

void TstDemoGenerator::generatedLogHasExactRowsInTimeOrder()
{
    ScratchDir a, b;
    ScriptedReporter reporter;
    DemoGenerator::LogOptions o;
    o.people = 7;
    o.firstYear = 2024;
    o.years = 2;
    o.rows = 20003;
    o.batch = 1000;
    o.seed = 3;
    QString error;
    {
        DataContext ctx(a.path());
        QVERIFY2(DemoGenerator::generateLog(ctx, o, &error), qPrintable(error));
    }
    {
        DataContext ctx(b.path());
        QVERIFY2(DemoGenerator::generateLog(ctx, o, &error), qPrintable(error));
    }
    DataContext ctx(a.path());
    const std::vector<Record> log = readAll(ctx, TableId::LOG_POKOJE, LPO::KeyId);
    QCOMPARE(int(log.size()), 20003);
    std::map<qint64, int> perPerson;
    std::set<int> codes;
    qint32 lastDate = 0;
    qint64 lastCas = 0;
    for (const Record &r : log) {
        ++perPerson[r.integer(LPO::DRZITEL)];
        codes.insert(int(r.integer(LPO::DATA)));
        const qint32 date = qint32(r.integer(LPO::DATUM));
        QVERIFY(date >= StdDateTime::fromYmd(2024, 1, 1) && date <= StdDateTime::fromYmd(2025, 12, 31));
        QVERIFY(date > lastDate || (date == lastDate && r.integer(LPO::CAS) >= lastCas));
        lastDate = date;
        lastCas = r.integer(LPO::CAS);
        QVERIFY(r.integer(LPO::CTECKA) >= 1 && r.integer(LPO::CTECKA) <= 20);
    }
    QCOMPARE(int(perPerson.size()), 7);
    for (const auto &[person, n] : perPerson)
        QVERIFY(n == 2857 || n == 2858);
    QVERIFY(codes.count(EventCodes::Prichod) && codes.count(EventCodes::Odchod) && codes.count(EventCodes::OteviramDvere));
    QCOMPARE(dump(b.path()), dump(a.path()));
    QVERIFY(reporter.entries().isEmpty());
}

QTEST_GUILESS_MAIN(TstDemoGenerator)
#include "tst_demogenerator.moc"
