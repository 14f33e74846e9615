#include "storeattendancesource.h"

#include "datacontext.h"

namespace {

ReportPerson personOf(const Record &r)
{
    ReportPerson p;
    p.kod = qint32(r.integer(ADR::KOD));
    p.nazev = r.text(ADR::NAZEV);
    p.ulice = r.text(ADR::ULICE);
    p.mesto = r.text(ADR::MESTO);
    p.psc = r.text(ADR::PSC);
    p.mobil = r.text(ADR::MOBIL);
    return p;
}

} // namespace

StoreAttendanceSource::StoreAttendanceSource(DataContext &context)
    : m_context(context)
{
}

bool StoreAttendanceSource::read(TableId table, const PageRequest &request,
                                 std::vector<Record> *rows, QString *error)
{
    const OpResult r = m_context.file(table).readPage(request, rows);
    if (r.ok())
        return true;
    m_failedTable = table;
    if (error)
        *error = r.text;
    rows->clear();
    return false;
}

bool StoreAttendanceSource::personEntries(qint32 person, qint32 fromDate, qint32 toDate,
                                          std::vector<LogEntry> *out, QString *error)
{
    out->clear();
    // The key's leading fields are the person and the date: the store reads the person's
    // stretch of the index between the two dates and nothing else, already in the order of
    // date, time and entry number.
    PageRequest request = PageRequest::forKey(tableDef(TableId::LOG_POKOJE), LPO::KeyOsoba_Dat_Cas);
    request.where = {{LPO::DRZITEL, Condition::Eq, person},
                     {LPO::DATUM, Condition::Ge, fromDate},
                     {LPO::DATUM, Condition::Le, toDate}};
    request.limit = 0;
    std::vector<Record> rows;
    if (!read(TableId::LOG_POKOJE, request, &rows, error))
        return false;
    out->reserve(rows.size());
    for (const Record &r : rows) {
        LogEntry e;
        e.id = qint32(r.integer(LPO::ID));
        e.karta = r.text(LPO::KARTA);
        e.ctecka = int(r.integer(LPO::CTECKA));
        e.data = int(r.integer(LPO::DATA));
        e.datum = qint32(r.integer(LPO::DATUM));
        e.cas = qint32(r.integer(LPO::CAS));
        e.poznamka = r.text(LPO::POZNAMKA);
        e.drzitel = qint32(r.integer(LPO::DRZITEL));
        out->push_back(std::move(e));
    }
    return true;
}

bool StoreAttendanceSource::calendarMonths(int month, int year, std::vector<CalendarMonth> *out,
                                           QString *error)
{
    out->clear();
    PageRequest request = PageRequest::forKey(tableDef(TableId::KALENDAR), KAL::KeyMesic);
    request.where = {{KAL::MESIC, Condition::Eq, month}, {KAL::ROK, Condition::Eq, year}};
    request.limit = 0;
    std::vector<Record> rows;
    if (!read(TableId::KALENDAR, request, &rows, error))
        return false;
    out->reserve(rows.size());
    for (const Record &r : rows) {
        CalendarMonth m;
        m.kod = qint32(r.integer(KAL::KOD));
        m.mesic = int(r.integer(KAL::MESIC));
        m.rok = int(r.integer(KAL::ROK));
        m.pracovnichDnu = qint32(r.integer(KAL::PRACOVNICH_DNU));
        m.pracovnichHodin = qint32(r.integer(KAL::PRACOVNICH_HODIN));
        m.nazev = r.text(KAL::NAZEV);
        out->push_back(std::move(m));
    }
    return true;
}

bool StoreAttendanceSource::person(qint32 kod, ReportPerson *out, QString *error)
{
    PageRequest request = PageRequest::forKey(tableDef(TableId::ADR_DAT), ADR::KeyKod);
    request.where = {{ADR::KOD, Condition::Eq, kod}};
    request.limit = 1;
    std::vector<Record> rows;
    if (error)
        error->clear();
    if (!read(TableId::ADR_DAT, request, &rows, error))
        return false;
    if (rows.empty())
        return false;
    *out = personOf(rows.front());
    return true;
}

bool StoreAttendanceSource::people(std::vector<ReportPerson> *out, QString *error)
{
    out->clear();
    PageRequest request = PageRequest::forKey(tableDef(TableId::ADR_DAT), ADR::KeyKod);
    request.limit = 0;
    std::vector<Record> rows;
    if (!read(TableId::ADR_DAT, request, &rows, error))
        return false;
    out->reserve(rows.size());
    for (const Record &r : rows)
        out->push_back(personOf(r));
    return true;
}
