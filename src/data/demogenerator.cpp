#include "demogenerator.h"

#include "datacontext.h"
#include "eventcodes.h"
#include "eventgenerator.h"
#include "globals.h"
#include "settingsfile.h"
#include "stddatetime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <set>

namespace DemoGenerator {

QDate easterSunday(int year)
{
    // The anonymous Gregorian algorithm (Meeus/Jones/Butcher).
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

QList<QDate> publicHolidays(int year)
{
    const QDate easter = easterSunday(year);
    QList<QDate> days{QDate(year, 1, 1)};
    if (year >= 2016)
        days << easter.addDays(-2);
    days << easter.addDays(1) << QDate(year, 5, 1) << QDate(year, 5, 8) << QDate(year, 7, 5) << QDate(year, 7, 6)
         << QDate(year, 9, 28) << QDate(year, 10, 28) << QDate(year, 11, 17) << QDate(year, 12, 24)
         << QDate(year, 12, 25) << QDate(year, 12, 26);
    std::sort(days.begin(), days.end());
    return days;
}

int workingDays(int year, int month)
{
    if (month < 1 || month > 12)
        return 0;
    const QList<QDate> holidays = publicHolidays(year);
    int n = 0;
    for (QDate d(year, month, 1); d.month() == month; d = d.addDays(1))
        if (d.dayOfWeek() <= 5 && !holidays.contains(d))
            ++n;
    return n;
}

QString monthName(int month)
{
    static const char16_t *const names[] = {u"Leden", u"Únor",  u"Březen", u"Duben",  u"Květen",   u"Červen",
                                            u"Červenec", u"Srpen", u"Září",  u"Říjen", u"Listopad", u"Prosinec"};
    if (month < 1 || month > 12)
        return QString();
    return QString::fromUtf16(names[month - 1]);
}

} // namespace DemoGenerator

namespace {

using DemoGenerator::DemoOptions;
using DemoGenerator::LogOptions;
using Event = EventGenerator::Event;
using Hours = EventGenerator::Hours;

// Writes log rows in batches, each batch one transaction of the log alone.
class LogWriter
{
public:
    LogWriter(Store &store, int batch)
        : m_store(store)
        , m_batch(std::max(1, batch))
    {
    }
    ~LogWriter()
    {
        if (m_open)
            m_store.rollback();
    }

    bool add(Record &row, QString *error)
    {
        if (!m_open && !begin(error))
            return false;
        const StoreResult r = m_store.insert(row);
        if (!r.ok())
            return fail(r, error);
        if (++m_inBatch >= m_batch)
            return commit(error);
        return true;
    }

    bool finish(QString *error) { return !m_open || commit(error); }

private:
    bool begin(QString *error)
    {
        const StoreResult r = m_store.begin({TableId::LOG_POKOJE}, 2000);
        if (!r.ok())
            return fail(r, error);
        m_open = true;
        m_inBatch = 0;
        return true;
    }
    bool commit(QString *error)
    {
        m_open = false;
        const StoreResult r = m_store.commit();
        return r.ok() || fail(r, error);
    }
    bool fail(const StoreResult &r, QString *error)
    {
        if (m_open)
            m_store.rollback();
        m_open = false;
        if (error)
            *error = r.text;
        return false;
    }

    Store &m_store;
    int m_batch;
    int m_inBatch = 0;
    bool m_open = false;
};

// One row of the log before it is written.
struct LogRow {
    Event event;
    qint32 person = 0;
    QString card;
    int category = 0;
    QString note;
    int sequence = 0;  // order of making, the last tie-break
};

bool inTimeOrder(const LogRow &a, const LogRow &b)
{
    if (a.event.datum != b.event.datum)
        return a.event.datum < b.event.datum;
    if (a.event.cas != b.event.cas)
        return a.event.cas < b.event.cas;
    if (a.person != b.person)
        return a.person < b.person;
    return a.sequence < b.sequence;
}

void fillLogRecord(Record &r, const LogRow &row)
{
    r.clear();
    r.setText(LPO::KARTA, row.card);
    r.setInteger(LPO::KATEGORIE_KARTY, row.category);
    r.setInteger(LPO::CTECKA, row.event.reader);
    r.setInteger(LPO::DATA, row.event.code);
    r.setInteger(LPO::DATUM, row.event.datum);
    r.setInteger(LPO::CAS, row.event.cas);
    r.setText(LPO::POZNAMKA, row.note);
    r.setInteger(LPO::DRZITEL, row.person);
}

// ---- the hotel ----

// The door units, numbered from 1 in this order.
struct UnitSpec {
    const char16_t *name;
    int room;   // GCP:ID_POKOJE
    int usage;  // GCP:POUZITI
    int version;
    int loop;
};

constexpr int Terminal = 1, StaffDoor = 2, MainEntrance = 3, Reception = 4, Office = 5, ServerRoom = 6, Kitchen = 7,
              FoodStore = 8, Laundry = 9, Wellness = 10, Pool = 11, Sauna = 12, Gate = 13, FirstRoom = 14, LastRoom = 29;

std::vector<UnitSpec> units()
{
    std::vector<UnitSpec> u = {
        {u"Docházkový terminál", 0, EventGenerator::AttendanceTerminal, 2, 1},
        {u"Služební vchod", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Hlavní vchod", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Recepce", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Kancelář", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Serverovna", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Kuchyně", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Sklad potravin", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Prádelna", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Wellness - vstup", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Bazén", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Sauna", 0, EventGenerator::CommonDoor, 2, 1},
        {u"Brána parkoviště (GSM)", 0, EventGenerator::Gate, 2, 1},
    };
    static const char16_t *const rooms[] = {u"Pokoj 101", u"Pokoj 102", u"Pokoj 103", u"Pokoj 104", u"Pokoj 105",
                                            u"Pokoj 106", u"Pokoj 107", u"Pokoj 108", u"Pokoj 201", u"Pokoj 202",
                                            u"Pokoj 203", u"Pokoj 204", u"Pokoj 205", u"Pokoj 206", u"Pokoj 207",
                                            u"Pokoj 208"};
    for (int i = 0; i < 16; ++i) {
        const int room = (i < 8 ? 101 : 193) + i;
        // The first floor still has the older units.
        u.push_back({rooms[i], room, EventGenerator::RoomDoor, i < 8 ? 1 : 2, i < 8 ? 2 : 3});
    }
    return u;
}

enum class Schedule { OfficeHours, Rotation, KitchenWeeks, FiveOfSeven };
enum class Department { Admin, Management, Reception, Kitchen, Housekeeping, Maintenance };

struct PersonProfile {
    const char16_t *name;
    const char16_t *job;
    int group;  // ADR:SKUPINA
    Schedule schedule;
    Department department;
    bool gsm;   // may open the gate by telephone, and comes by car
};

const PersonProfile staff[] = {
    {u"Správce Systému", u"Správce systému", 1, Schedule::OfficeHours, Department::Admin, true},
    {u"Jana Nováková", u"Ředitelka hotelu", 1, Schedule::OfficeHours, Department::Management, true},
    {u"Petr Svoboda", u"Provozní ředitel", 1, Schedule::OfficeHours, Department::Management, true},
    {u"Marie Dvořáková", u"Účetní", 1, Schedule::OfficeHours, Department::Management, false},
    {u"Tomáš Černý", u"Obchodní manažer", 1, Schedule::OfficeHours, Department::Management, true},
    {u"Lenka Procházková", u"Personalistka", 1, Schedule::OfficeHours, Department::Management, false},
    {u"Martin Kučera", u"Vedoucí recepce", 2, Schedule::Rotation, Department::Reception, false},
    {u"Eva Veselá", u"Recepční", 2, Schedule::Rotation, Department::Reception, false},
    {u"Jiří Horák", u"Recepční", 2, Schedule::Rotation, Department::Reception, false},
    {u"Kateřina Němcová", u"Recepční", 2, Schedule::Rotation, Department::Reception, false},
    {u"Lukáš Marek", u"Recepční", 2, Schedule::Rotation, Department::Reception, false},
    {u"Veronika Pokorná", u"Recepční", 2, Schedule::Rotation, Department::Reception, false},
    {u"Jan Pospíšil", u"Recepční", 2, Schedule::Rotation, Department::Reception, false},
    {u"Tereza Hájková", u"Recepční", 2, Schedule::Rotation, Department::Reception, false},
    {u"Pavel Jelínek", u"Šéfkuchař", 3, Schedule::KitchenWeeks, Department::Kitchen, false},
    {u"Michal Král", u"Kuchař", 3, Schedule::KitchenWeeks, Department::Kitchen, false},
    {u"Hana Růžičková", u"Kuchařka", 3, Schedule::KitchenWeeks, Department::Kitchen, false},
    {u"David Beneš", u"Kuchař", 3, Schedule::KitchenWeeks, Department::Kitchen, false},
    {u"Lucie Fialová", u"Pomocná kuchařka", 3, Schedule::KitchenWeeks, Department::Kitchen, false},
    {u"Ondřej Sedláček", u"Číšník", 3, Schedule::KitchenWeeks, Department::Kitchen, false},
    {u"Alena Doležalová", u"Servírka", 3, Schedule::KitchenWeeks, Department::Kitchen, false},
    {u"Jakub Zeman", u"Číšník", 3, Schedule::KitchenWeeks, Department::Kitchen, false},
    {u"Zdeňka Kolářová", u"Vedoucí úklidu", 4, Schedule::FiveOfSeven, Department::Housekeeping, false},
    {u"Jaroslava Navrátilová", u"Pokojská", 4, Schedule::FiveOfSeven, Department::Housekeeping, false},
    {u"Ivana Čermáková", u"Pokojská", 4, Schedule::FiveOfSeven, Department::Housekeeping, false},
    {u"Miroslav Vaněk", u"Údržbář", 4, Schedule::OfficeHours, Department::Maintenance, true},
    {u"Helena Urbanová", u"Pokojská", 4, Schedule::FiveOfSeven, Department::Housekeeping, false},
    {u"Josef Blažek", u"Údržbář", 4, Schedule::OfficeHours, Department::Maintenance, true},
    {u"Monika Kratochvílová", u"Pokojská", 4, Schedule::FiveOfSeven, Department::Housekeeping, false},
    {u"Karel Šimek", u"Technik wellness", 4, Schedule::FiveOfSeven, Department::Maintenance, false},
};
constexpr int staffCount = int(sizeof(staff) / sizeof(staff[0]));

// Who does what in the log, by the person's place in the address book (0 = the administrator).
const std::set<int> wholeDayVacation = {1, 4, 7, 10, 13, 16, 19, 22, 25, 28};
const std::set<int> halfDayVacation = {3, 5};
const std::set<int> sickness = {11, 17, 24};
const std::set<int> paidOut = {6, 14, 25};
const std::map<int, std::pair<int, int>> positiveBalance = {{1, {12, 30}}, {6, {6, 0}}, {9, {3, 45}}, {15, {8, 15}}, {22, {1, 30}}};
const std::map<int, std::pair<int, int>> negativeBalance = {{3, {4, 30}}, {19, {2, 15}}};
const std::set<int> lostCard = {8, 20};

const char16_t *const maleFirst[] = {u"Adam", u"Filip", u"Vojtěch", u"Matěj", u"Radek", u"Roman", u"Stanislav", u"Zdeněk"};
const char16_t *const maleLast[] = {u"Novotný", u"Malý", u"Krejčí", u"Hrubý", u"Kopecký", u"Toman", u"Bartoš", u"Říha"};
const char16_t *const femaleFirst[] = {u"Petra", u"Martina", u"Barbora", u"Simona", u"Klára", u"Irena", u"Dana", u"Šárka"};
const char16_t *const femaleLast[] = {u"Novotná", u"Malá", u"Krejčí", u"Hrubá", u"Kopecká", u"Tomanová", u"Bartošová", u"Říhová"};

struct Town {
    const char16_t *name;
    const char16_t *psc;
};
const Town towns[] = {
    {u"Vrchlabí", u"543 01"},  {u"Špindlerův Mlýn", u"543 51"}, {u"Trutnov", u"541 01"},
    {u"Hostinné", u"543 71"},  {u"Dolní Branná", u"543 62"},    {u"Lánov", u"543 41"},
    {u"Strážné", u"543 52"},   {u"Kunčice nad Labem", u"543 61"},
};
const char16_t *const streets[] = {u"Krkonošská", u"Komenského", u"Husova", u"Nádražní", u"Palackého",
                                   u"Horská", u"Lesní", u"Zahradní", u"Školní", u"Žižkova", u"Luční"};

struct Person {
    qint32 kod = 0;
    int index = 0;
    PersonProfile profile{};
    QString name;
    int offset = 0;  // place in the rotation of the department
    QString card;    // RFID of the card in use
    int category = 0;
    QString lostCard;  // RFID of the blocked card, if any
    EventGenerator::Route route;
};

PersonProfile profileFor(int index)
{
    if (index < staffCount)
        return staff[index];
    static const PersonProfile more[] = {
        {nullptr, u"Recepční", 2, Schedule::Rotation, Department::Reception, false},
        {nullptr, u"Kuchař", 3, Schedule::KitchenWeeks, Department::Kitchen, false},
        {nullptr, u"Pokojská", 4, Schedule::FiveOfSeven, Department::Housekeeping, false},
        {nullptr, u"Asistent", 1, Schedule::OfficeHours, Department::Management, false},
    };
    return more[(index - staffCount) % 4];
}

QString nameFor(int index)
{
    if (index < staffCount)
        return QString::fromUtf16(staff[index].name);
    const int n = index - staffCount;
    if (n % 2 == 0)
        return QString::fromUtf16(maleFirst[(n / 2) % 8]) + QLatin1Char(' ') +
               QString::fromUtf16(maleLast[(n / 16 + n / 2) % 8]);
    return QString::fromUtf16(femaleFirst[(n / 2) % 8]) + QLatin1Char(' ') +
           QString::fromUtf16(femaleLast[(n / 16 + n / 2 + 3) % 8]);
}

EventGenerator::Route routeFor(Department d)
{
    EventGenerator::Route r;
    r.terminal = Terminal;
    r.staffDoor = StaffDoor;
    r.gate = Gate;
    switch (d) {
    case Department::Admin:
        r.doors = {Office, ServerRoom, Reception};
        break;
    case Department::Management:
        r.doors = {MainEntrance, Reception, Office};
        break;
    case Department::Reception:
        r.doors = {MainEntrance, Reception, Wellness, Pool, Sauna};
        break;
    case Department::Kitchen:
        r.doors = {Kitchen, FoodStore, MainEntrance};
        break;
    case Department::Housekeeping:
        r.doors = {Laundry};
        for (int u = FirstRoom; u <= LastRoom; ++u)
            r.doors.push_back(u);
        break;
    case Department::Maintenance:
        r.doors = {ServerRoom, FoodStore, Laundry, Wellness, Pool, Sauna, FirstRoom, FirstRoom + 8};
        break;
    }
    return r;
}

class Demo
{
public:
    Demo(DataContext &context, const DemoOptions &options)
        : m_ctx(context)
        , m_options(options)
        , m_gen(options.seed)
    {
        m_today = options.today.isValid() ? options.today : QDate::currentDate();
        m_year = m_today.year();
        m_periodStart = QDate(m_year, m_today.month(), 1).addMonths(-(std::clamp(options.months, 1, 12) - 1));
        m_first = StdDateTime::fromQDate(m_periodStart);
        m_last = StdDateTime::fromQDate(m_today) - 1;
        for (int y = m_periodStart.year(); y <= m_year; ++y)
            for (const QDate &d : DemoGenerator::publicHolidays(y))
                m_holidays.insert(StdDateTime::fromQDate(d));
    }

    bool run(QString *error);

private:
    bool insert(TableId table, const Record &r, QString *error);
    bool writeMasterData(QString *error);
    bool writeLog(QString *error);

    bool scheduled(const Person &p, qint32 date, Hours *hours) const;
    // The first `count` days of the person's schedule in month `monthIndex` of the log
    // (0 = the first), from day `fromDay` on, before today and free of other absences.
    std::vector<qint32> freeDays(const Person &p, int monthIndex, int fromDay, int count) const;
    qint32 monthDay(int monthIndex, int day) const;
    void planAbsences();
    void addManual(const Person &p, qint32 date, int code, qint32 cas, const QString &note);

    DataContext &m_ctx;
    DemoOptions m_options;
    EventGenerator m_gen;
    QDate m_today;
    int m_year = 0;
    QDate m_periodStart;
    qint32 m_first = 0;
    qint32 m_last = 0;
    std::set<qint32> m_holidays;
    std::vector<Person> m_people;
    // Whole-day (time 0) and half-day absences by person and date.
    std::map<std::pair<qint32, qint32>, qint32> m_absences;
    std::vector<LogRow> m_rows;
};

bool Demo::insert(TableId table, const Record &r, QString *error)
{
    FileManager &fm = m_ctx.file(table);
    fm.record() = r;
    const OpResult result = fm.insert();
    if (!result.ok()) {
        if (error)
            *error = result.kind == OpResult::OutOfRange
                         ? QStringLiteral("%1: hodnota mimo rozsah").arg(fm.def().qualifiedName(result.field))
                         : result.text;
        return false;
    }
    return true;
}

bool Demo::run(QString *error)
{
    for (const TableDef *def : allTables()) {
        if (!m_ctx.file(def->id).use()) {
            if (error)
                *error = QStringLiteral("tabulku %1 nelze vytvořit").arg(QString::fromLatin1(def->externalName));
            return false;
        }
    }
    return writeMasterData(error) && writeLog(error);
}

bool Demo::writeMasterData(QString *error)
{
    Store &store = m_ctx.store();
    const std::vector<TableId> tables = {TableId::ADR_DAT, TableId::CARDS, TableId::KAT_DAT, TableId::GCU_POK,
                                         TableId::GCU_ALARM, TableId::KALENDAR, TableId::SETINGS, TableId::STATE};
    const StoreResult begun = store.begin(tables, 2000);
    if (!begun.ok()) {
        if (error)
            *error = begun.text;
        return false;
    }
    auto fail = [&] {
        store.rollback();
        return false;
    };

    // Card categories.
    {
        Record r(TableId::KAT_DAT);
        r.setInteger(DAT::KOD, 1);
        r.setText(DAT::KATEGORIE, QStringLiteral("Zaměstnanci"));
        r.setInteger(DAT::CENA, 15000);  // the deposit for a card, 150.00
        if (!insert(TableId::KAT_DAT, r, error))
            return fail();
        r.clear();
        r.setInteger(DAT::KOD, 2);
        r.setText(DAT::KATEGORIE, QStringLiteral("Vedení"));
        r.setInteger(DAT::CENA, 0);
        if (!insert(TableId::KAT_DAT, r, error))
            return fail();
    }

    // Door units.
    const std::vector<UnitSpec> unitList = units();
    for (int i = 0; i < int(unitList.size()); ++i) {
        const UnitSpec &u = unitList[size_t(i)];
        Record r(TableId::GCU_POK);
        r.applyDefaults();
        r.setInteger(GCP::ID_GCU, i + 1);
        r.setText(GCP::NAZEV, QString::fromUtf16(u.name));
        r.setInteger(GCP::ID_POKOJE, u.room);
        r.setInteger(GCP::POUZITI, u.usage);
        r.setInteger(GCP::VERZE_GCU, u.version);
        r.setInteger(GCP::SMYCKA, u.loop);
        if (u.usage == EventGenerator::Gate) {
            r.setInteger(GCP::ZAMEK_NA_VYSTUPU, 2);
            r.setInteger(GCP::ZPOZDENI_RELE, 10);
        }
        if (!insert(TableId::GCU_POK, r, error))
            return fail();
    }

    // Alarm outputs: the main entrance and the server room.
    {
        const int alarms[][3] = {{2, MainEntrance, 2}, {2, ServerRoom, 3}};
        for (int i = 0; i < 2; ++i) {
            Record r(TableId::GCU_ALARM);
            r.setInteger(ALR::ID, i + 1);
            r.setInteger(ALR::VERZE_GCU, alarms[i][0]);
            r.setInteger(ALR::CISLO_GCU, alarms[i][1]);
            r.setInteger(ALR::ALARM_VYSTUP, alarms[i][2]);
            if (!insert(TableId::GCU_ALARM, r, error))
                return fail();
        }
    }

    // Work calendar of the previous and the current year.
    {
        int kod = 0;
        for (int year = m_year - 1; year <= m_year; ++year) {
            for (int month = 1; month <= 12; ++month) {
                const int days = DemoGenerator::workingDays(year, month);
                Record r(TableId::KALENDAR);
                r.setInteger(KAL::KOD, ++kod);
                r.setInteger(KAL::MESIC, month);
                r.setInteger(KAL::ROK, year);
                r.setInteger(KAL::PRACOVNICH_DNU, days);
                r.setInteger(KAL::PRACOVNICH_HODIN, days * 8);
                r.setText(KAL::NAZEV, DemoGenerator::monthName(month) + QLatin1Char(' ') + QString::number(year));
                if (!insert(TableId::KALENDAR, r, error))
                    return fail();
            }
        }
    }

    // Shift record 1 and status record 1.
    {
        Record r(TableId::SETINGS);
        r.setInteger(SET::ID, 1);
        r.setInteger(SET::RANNI_DO, StdDateTime::fromHms(12, 0));
        r.setInteger(SET::ODPOLEDNI_DO, StdDateTime::fromHms(20, 0));
        r.setInteger(SET::NOCNI_DO, StdDateTime::fromHms(4, 0));
        if (!insert(TableId::SETINGS, r, error))
            return fail();
        Record s(TableId::STATE);
        s.setInteger(STA::ID, 1);
        s.setInteger(STA::READY2UPDATE, 0);
        s.setInteger(STA::UPDATEDATESTAMP, StdDateTime::fromQDate(m_today));
        s.setInteger(STA::UPDATETIMESTAMP, StdDateTime::fromHms(6, 0));
        if (!insert(TableId::STATE, s, error))
            return fail();
    }

    // People and their cards.
    const int count = std::clamp(m_options.people, 1, 1000);
    const qint32 validUntil = StdDateTime::fromYmd(m_year + 1, 12, 31);
    std::map<Department, int> placeInDepartment;
    int cardNumber = 0;
    auto addCard = [&](const Person &p, const QString &rfid, bool active) {
        Record c(TableId::CARDS);
        ++cardNumber;
        c.setText(CAR::KOD, QStringLiteral("K%1").arg(cardNumber, 4, 10, QLatin1Char('0')));
        c.setText(CAR::KOD_RFID, rfid);
        c.setInteger(CAR::KATEGORIE, p.category);
        c.setInteger(CAR::DRUH, 1);
        c.setInteger(CAR::DRZITEL, p.kod);
        c.setInteger(CAR::STAV_KARTY, active ? 1 : 0);
        c.setInteger(CAR::DATUM_PLATNOSTI, validUntil);
        c.setInteger(CAR::VJEZD_OBJEKT, 1);
        c.setInteger(CAR::VYJEZD_OBJEKT, 1);
        c.setInteger(CAR::VJEZD_HOTEL, 1);
        c.setInteger(CAR::POSUVNE_DVERE, 1);
        c.setInteger(CAR::VJEZD_PARKOVISTE, p.profile.gsm ? 1 : 0);
        const bool allRooms = p.profile.department == Department::Admin ||
                              p.profile.department == Department::Reception ||
                              p.profile.department == Department::Housekeeping ||
                              p.profile.department == Department::Maintenance;
        c.setInteger(CAR::VSECHNY_POKOJE, allRooms ? 1 : 0);
        c.setText(CAR::POZNAMKA, active ? QStringLiteral("Služební karta")
                                        : QStringLiteral("Ztracená karta - zablokována"));
        return insert(TableId::CARDS, c, error);
    };

    for (int i = 0; i < count; ++i) {
        Person p;
        p.kod = i + 1;
        p.index = i;
        p.profile = profileFor(i);
        p.name = nameFor(i);
        p.offset = placeInDepartment[p.profile.department]++;
        p.category = p.profile.group == 1 ? 2 : 1;
        p.route = routeFor(p.profile.department);
        p.card = EventGenerator::cardCode(m_options.seed, 2 * i);
        if (lostCard.count(i))
            p.lostCard = EventGenerator::cardCode(m_options.seed, 2 * i + 1);

        const Town &town = towns[(i * 5) % 8];
        Record r(TableId::ADR_DAT);
        r.applyDefaults();
        r.setInteger(ADR::KOD, p.kod);
        r.setInteger(ADR::OSOBNI_CISLO, 100 + i);
        r.setText(ADR::NAZEV, p.name);
        r.setText(ADR::ULICE, QString::fromUtf16(streets[(i * 7) % 11]) + QLatin1Char(' ') +
                                  QString::number((i * 37) % 180 + 1));
        r.setText(ADR::MESTO, QString::fromUtf16(town.name));
        r.setText(ADR::PSC, QString::fromUtf16(town.psc));
        r.setText(ADR::STAT, QStringLiteral("Česká republika"));
        if (p.profile.group == 1)
            r.setText(ADR::TELEFON1, QStringLiteral("499 433 %1").arg(100 + i, 3, 10, QLatin1Char('0')));
        r.setText(ADR::MOBIL, QStringLiteral("+420 %1 %2 %3")
                                  .arg(602 + (i % 5) * 70)
                                  .arg((i * 271) % 900 + 100)
                                  .arg((i * 613) % 900 + 100));
        r.setText(ADR::POZNAMKA2, QString::fromUtf16(p.profile.job));
        r.setInteger(ADR::STRAVA, p.profile.group == 1 ? 0 : 1);
        r.setInteger(ADR::DOCHAZKA, 1);
        r.setInteger(ADR::SKUPINA, p.profile.group);
        r.setText(ADR::PASS, i == 0 ? QStringLiteral("demo") : QString::number(100 + i));
        r.setInteger(ADR::GSM, p.profile.gsm ? 1 : 0);
        if (!insert(TableId::ADR_DAT, r, error))
            return fail();
        if (!p.lostCard.isEmpty() && !addCard(p, p.lostCard, false))
            return fail();
        if (!addCard(p, p.card, true))
            return fail();
        m_people.push_back(p);
    }

    const StoreResult committed = store.commit();
    if (!committed.ok()) {
        if (error)
            *error = committed.text;
        return false;
    }
    return true;
}

bool Demo::scheduled(const Person &p, qint32 date, Hours *hours) const
{
    const int weekday = StdDateTime::weekday(date);
    const int week = (date - 1) / 7;  // weeks from Monday to Sunday
    switch (p.profile.schedule) {
    case Schedule::OfficeHours:
        if (weekday == 0 || weekday == 6 || m_holidays.count(date))
            return false;
        *hours = EventGenerator::Office;
        return true;
    case Schedule::Rotation: {
        // Two mornings, two afternoons, two nights, two days off; the reception's eight
        // people take every place of the cycle, so every shift is covered every day.
        const int place = (date + p.offset) % 8;
        if (place >= 6)
            return false;
        *hours = place < 2 ? EventGenerator::Morning : place < 4 ? EventGenerator::Afternoon : EventGenerator::Night;
        return true;
    }
    case Schedule::KitchenWeeks:
    case Schedule::FiveOfSeven: {
        const int off = (weekday + p.offset) % 7;
        if (off == 0 || off == 1)
            return false;
        if (p.profile.schedule == Schedule::FiveOfSeven)
            *hours = EventGenerator::Morning;
        else
            *hours = (week + p.offset) % 2 ? EventGenerator::KitchenAfternoon : EventGenerator::Morning;
        return true;
    }
    }
    return false;
}

qint32 Demo::monthDay(int monthIndex, int day) const
{
    const QDate first = m_periodStart.addMonths(monthIndex);
    return StdDateTime::fromYmd(first.year(), first.month(), std::min(day, first.daysInMonth()));
}

std::vector<qint32> Demo::freeDays(const Person &p, int monthIndex, int fromDay, int count) const
{
    std::vector<qint32> out;
    const QDate first = m_periodStart.addMonths(monthIndex);
    for (int day = fromDay; day <= first.daysInMonth() && int(out.size()) < count; ++day) {
        const qint32 date = StdDateTime::fromYmd(first.year(), first.month(), day);
        Hours h;
        if (date < m_first || date > m_last || !scheduled(p, date, &h) || m_absences.count({p.kod, date}))
            continue;
        out.push_back(date);
    }
    return out;
}

void Demo::addManual(const Person &p, qint32 date, int code, qint32 cas, const QString &note)
{
    LogRow row;
    row.event.datum = date;
    row.event.cas = cas;
    row.event.code = code;
    row.person = p.kod;
    row.note = note;
    row.sequence = int(m_rows.size());
    m_rows.push_back(row);
}

void Demo::planAbsences()
{
    const int months = std::clamp(m_options.months, 1, 12);
    const int middle = std::min(1, months - 1);
    for (const Person &p : m_people) {
        const int i = p.index;
        if (wholeDayVacation.count(i)) {
            const int length = m_gen.bounded(3, 5);
            for (qint32 d : freeDays(p, middle, m_gen.bounded(3, 12), length)) {
                m_absences[{p.kod, d}] = 0;
                addManual(p, d, EventCodes::Dovolena, 0, QStringLiteral("Dovolená"));
            }
        }
        if (sickness.count(i)) {
            const int length = m_gen.bounded(2, 4);
            for (qint32 d : freeDays(p, 0, m_gen.bounded(5, 15), length)) {
                m_absences[{p.kod, d}] = 0;
                addManual(p, d, EventCodes::Nemoc, 0, QStringLiteral("Nemocenská"));
            }
        }
        if (halfDayVacation.count(i)) {
            // Half a day off: the person works four hours and takes four hours of vacation.
            for (int m = months - 1; m >= 0; --m) {
                const std::vector<qint32> days = freeDays(p, m, m_gen.bounded(2, 10), 1);
                if (days.empty())
                    continue;
                const qint32 four = StdDateTime::fromHms(4, 0);
                m_absences[{p.kod, days.front()}] = four;
                addManual(p, days.front(), EventCodes::Dovolena, four, QStringLiteral("Dovolená - půl dne"));
                break;
            }
        }
        if (paidOut.count(i)) {
            const qint32 date = std::min(monthDay(0, 31), m_last);
            if (date >= m_first)
                addManual(p, date, EventCodes::Proplaceno, StdDateTime::fromHms(m_gen.bounded(4, 10), 0),
                          QStringLiteral("Proplacení přesčasů"));
        }
        if (positiveBalance.count(i) && m_first <= m_last) {
            const auto [h, m] = positiveBalance.at(i);
            addManual(p, m_first, EventCodes::VychoziKladny, StdDateTime::fromHms(h, m),
                      QStringLiteral("Počáteční stav"));
        }
        if (negativeBalance.count(i) && m_first <= m_last) {
            const auto [h, m] = negativeBalance.at(i);
            addManual(p, m_first, EventCodes::VychoziZaporny, StdDateTime::fromHms(h, m),
                      QStringLiteral("Počáteční stav"));
        }
    }
}

bool Demo::writeLog(QString *error)
{
    planAbsences();

    // The shifts, person by person.
    struct ShiftRows {
        std::vector<LogRow> rows;
    };
    std::vector<ShiftRows> shifts;
    for (const Person &p : m_people) {
        bool first = true;
        for (qint32 date = m_first; date <= m_last; ++date) {
            Hours hours;
            if (!scheduled(p, date, &hours))
                continue;
            const auto absence = m_absences.find({p.kod, date});
            if (absence != m_absences.end()) {
                if (absence->second == 0)
                    continue;
                hours.lengthMinutes = 4 * 60;
            }
            const int doors = p.profile.department == Department::Housekeeping ? m_gen.bounded(4, 8) : m_gen.bounded(2, 5);
            // The administrator's first day comes through the gate, so the log always has one.
            const bool byCar = p.profile.gsm && ((first && p.index == 0) || m_gen.chance(25));
            const std::vector<Event> events = m_gen.workingDay(hours, date, p.route, doors, byCar, 3);
            // A shift that ends today or later is not over yet.
            if (events.back().datum > m_last)
                continue;
            ShiftRows s;
            if (first && !p.lostCard.isEmpty()) {
                // The blocked card, tried once at the staff entrance before the new one.
                LogRow refused;
                refused.event = events.front();
                refused.event.code = EventCodes::ZamitnutPristup;
                refused.event.reader = StaffDoor;
                refused.event.cas = std::max<qint32>(1, refused.event.cas - 6000);
                refused.person = p.kod;
                refused.card = p.lostCard;
                refused.category = p.category;
                s.rows.push_back(refused);
            }
            for (const Event &e : events) {
                LogRow row;
                row.event = e;
                row.person = p.kod;
                row.card = p.card;
                row.category = p.category;
                s.rows.push_back(row);
            }
            shifts.push_back(std::move(s));
            first = false;
        }
    }

    // A few forgotten departures: the departure and what follows it are not in the log.
    if (!shifts.empty()) {
        std::set<size_t> chosen;
        const int wanted = std::min<int>(4, int(shifts.size()));
        while (int(chosen.size()) < wanted)
            chosen.insert(size_t(m_gen.bounded(0, int(shifts.size()) - 1)));
        for (size_t k : chosen) {
            std::vector<LogRow> &rows = shifts[k].rows;
            auto dep = std::find_if(rows.begin(), rows.end(),
                                    [](const LogRow &r) { return r.event.code == EventCodes::Odchod; });
            rows.erase(dep, rows.end());
        }
    }

    for (ShiftRows &s : shifts) {
        for (LogRow &row : s.rows) {
            row.sequence = int(m_rows.size());
            m_rows.push_back(std::move(row));
        }
    }
    std::sort(m_rows.begin(), m_rows.end(), inTimeOrder);

    LogWriter writer(m_ctx.store(), 20000);
    Record r(TableId::LOG_POKOJE);
    for (const LogRow &row : m_rows) {
        fillLogRecord(r, row);
        if (!writer.add(r, error))
            return false;
    }
    return writer.finish(error);
}

// The files of ours a directory may already hold: the tables (with their journals) and the
// settings file.
QStringList ourFilesIn(const QString &directory)
{
    QStringList names;
    for (const TableDef *def : allTables())
        names << def->fileName();
    names << SettingsFile::fileName();
    QStringList found;
    const QStringList entries = QDir(directory).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries)
        for (const QString &name : names)
            if (entry.startsWith(name, Qt::CaseInsensitive)) {
                found << entry;
                break;
            }
    return found;
}

} // namespace

namespace DemoGenerator {

bool createDemo(const QString &directory, const DemoOptions &options, QString *error)
{
    auto failWith = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    const QFileInfo info(directory);
    if (info.exists() && !info.isDir())
        return failWith(QStringLiteral("„%1“ není adresář.").arg(directory));
    if (info.exists()) {
        const QStringList found = ourFilesIn(directory);
        if (!found.isEmpty())
            return failWith(QStringLiteral("Adresář „%1“ již obsahuje data programu (%2): ukázková instalace se "
                                           "vytváří jen v adresáři bez tabulek.")
                                .arg(directory, found.join(QStringLiteral(", "))));
    } else if (!QDir().mkpath(directory)) {
        return failWith(QStringLiteral("Adresář „%1“ nelze vytvořit.").arg(directory));
    }

    QString reason;
    bool ok;
    {
        DataContext ctx(directory);
        Demo demo(ctx, options);
        ok = demo.run(&reason);
    }
    if (ok) {
        SettingsFile settings(SettingsFile::pathIn(directory));
        settings.load();
        const int year = (options.today.isValid() ? options.today : QDate::currentDate()).year();
        settings.setValue(GLO::preservedSection(), QStringLiteral("GLO:Rok"),
                          QStringLiteral("%1").arg(year % 100, 2, 10, QLatin1Char('0')));
        ok = settings.save(&reason);
    }
    if (!ok) {
        // Nothing was there before: take away what was written, so the directory can be used again.
        for (const QString &name : ourFilesIn(directory))
            QFile::remove(QDir(directory).filePath(name));
        return failWith(QStringLiteral("Ukázkovou instalaci se nepodařilo zapsat do „%1“: %2").arg(directory, reason));
    }
    return true;
}

bool generateLog(DataContext &context, const LogOptions &options, QString *error)
{
    FileManager &log = context.file(TableId::LOG_POKOJE);
    if (!log.use()) {
        if (error)
            *error = QStringLiteral("table LOG_POKOJE cannot be opened");
        return false;
    }
    const int people = std::max(1, options.people);
    const qint32 start = StdDateTime::fromYmd(options.firstYear, 1, 1);
    const qint32 end = StdDateTime::fromYmd(options.firstYear + std::max(1, options.years), 1, 1);
    const qint64 days = end - start;
    const qint64 rows = std::max<qint64>(0, options.rows);

    EventGenerator::Route route;
    route.terminal = 1;
    route.staffDoor = options.readers >= 2 ? 2 : 0;
    for (int u = 3; u <= options.readers; ++u)
        route.doors.push_back(u);
    std::vector<QString> cards;
    for (int p = 1; p <= people; ++p)
        cards.push_back(EventGenerator::cardCode(options.seed, p));

    EventGenerator gen(options.seed);
    LogWriter writer(context.store(), options.batch);
    Record r(TableId::LOG_POKOJE);
    std::vector<LogRow> pending;
    auto flush = [&](qint32 upTo) {
        std::sort(pending.begin(), pending.end(), inTimeOrder);
        size_t n = 0;
        for (; n < pending.size() && pending[n].event.datum <= upTo; ++n) {
            fillLogRecord(r, pending[n]);
            if (!writer.add(r, error))
                return false;
        }
        pending.erase(pending.begin(), pending.begin() + qsizetype(n));
        return true;
    };

    int sequence = 0;
    for (qint64 d = 0; d < days; ++d) {
        const qint32 date = qint32(start + d);
        for (int p = 1; p <= people; ++p) {
            // Person p's share of the rows, spread evenly over the days.
            const qint64 share = rows / people + (p - 1 < rows % people ? 1 : 0);
            const int count = int((d + 1) * share / days - d * share / days);
            if (count == 0)
                continue;
            // A weekly rotation; the last day has no night shift, which would end after it.
            const int kind = int(((date - 1) / 7 + p) % 3);
            Hours hours = kind == 0 ? EventGenerator::Morning : kind == 1 ? EventGenerator::Afternoon
                                                                          : EventGenerator::Night;
            if (d == days - 1 && kind == 2)
                hours = EventGenerator::Afternoon;
            for (const Event &e : gen.dayOfEvents(hours, date, route, count)) {
                LogRow row;
                row.event = e;
                row.person = p;
                row.card = cards[size_t(p - 1)];
                row.category = 1;
                row.sequence = sequence++;
                pending.push_back(std::move(row));
            }
        }
        if (!flush(date))
            return false;
    }
    if (!flush(end))
        return false;
    return writer.finish(error);
}

} // namespace DemoGenerator
