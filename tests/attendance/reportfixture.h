#pragma once

#include "datacontext.h"
#include "stddatetime.h"

#include <QString>

// Records for the report's tests, written straight into the tables of a context.
namespace ReportFixture {

inline qint32 day(int y, int m, int d) { return StdDateTime::fromYmd(y, m, d); }
inline qint32 at(int h, int m) { return StdDateTime::fromHms(h, m); }

inline bool insert(DataContext &context, Record &r)
{
    FileManager &fm = context.file(r.table());
    fm.open();
    const bool ok = fm.use() && context.store().insert(r).ok();
    fm.close();
    return ok;
}

inline bool addPerson(DataContext &context, qint32 kod, const QString &nazev,
                      const QString &ulice = QString(), const QString &mesto = QString(),
                      const QString &psc = QString(), const QString &mobil = QString())
{
    Record r(TableId::ADR_DAT);
    r.clear();
    r.setInteger(ADR::KOD, kod);
    r.setInteger(ADR::OSOBNI_CISLO, kod);
    r.setText(ADR::NAZEV, nazev);
    r.setText(ADR::ULICE, ulice);
    r.setText(ADR::MESTO, mesto);
    r.setText(ADR::PSC, psc);
    r.setText(ADR::MOBIL, mobil);
    return insert(context, r);
}

inline bool addLog(DataContext &context, qint32 person, int data, qint32 datum, qint32 cas)
{
    Record r(TableId::LOG_POKOJE);
    r.clear();
    r.setInteger(LPO::DRZITEL, person);
    r.setInteger(LPO::DATA, data);
    r.setInteger(LPO::DATUM, datum);
    r.setInteger(LPO::CAS, cas);
    return insert(context, r);
}

inline bool addPair(DataContext &context, qint32 person, qint32 date, qint32 from, qint32 to)
{
    return addLog(context, person, 41, date, from) && addLog(context, person, 43, date, to);
}

inline bool addMonth(DataContext &context, int year, int month, qint32 days, const QString &nazev,
                     qint32 kod = 0)
{
    Record r(TableId::KALENDAR);
    r.clear();
    r.setInteger(KAL::KOD, kod);
    r.setInteger(KAL::MESIC, month);
    r.setInteger(KAL::ROK, year);
    r.setInteger(KAL::PRACOVNICH_DNU, days);
    r.setInteger(KAL::PRACOVNICH_HODIN, days * 8);
    r.setText(KAL::NAZEV, nazev);
    if (kod == 0) {
        // The next code, as the calendar form numbers its records.
        qint64 highest = 0;
        context.file(TableId::KALENDAR).use();
        context.store().maxValue(TableId::KALENDAR, KAL::KOD, &highest);
        r.setInteger(KAL::KOD, highest + 1);
    }
    return insert(context, r);
}

// Shift record 1: morning until, afternoon until, night until.
inline bool setShifts(DataContext &context, qint32 ranniDo, qint32 odpoledniDo, qint32 nocniDo)
{
    Record r(TableId::SETINGS);
    r.clear();
    r.setInteger(SET::ID, 1);
    r.setInteger(SET::RANNI_DO, ranniDo);
    r.setInteger(SET::ODPOLEDNI_DO, odpoledniDo);
    r.setInteger(SET::NOCNI_DO, nocniDo);
    return insert(context, r);
}

} // namespace ReportFixture
