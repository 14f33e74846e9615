#pragma once

#include "monthlycomputation.h"
#include "record.h"
#include "schema.h"
#include "store.h"

#include <QString>

#include <vector>

class DataContext;

// The person of the report as the address book ADR_DAT holds it: what the report window and the
// report heading show.
struct ReportPerson
{
    qint32 kod = 0;   // ADR:KOD
    QString nazev;    // ADR:NAZEV
    QString ulice;    // ADR:ULICE
    QString mesto;    // ADR:MESTO
    QString psc;      // ADR:PSC
    QString mobil;    // ADR:MOBIL
};

// The log, the work calendar and the address book of one data context, as the monthly
// attendance report reads them. Only reads; the tables are used through their file managers,
// which open the files on first use (the caller keeps them open for as long as it reads).
//
// The person's records are one read through the key LPO:KeyOsoba_Dat_Cas narrowed to the person
// and the dates, never a pass over the whole log; the calendar is read through KAL:KeyMesic
// narrowed to the month and the year, so the lowest KAL:KOD comes first.
//
// A failed read returns false with the store's error text; failedTable() then names the table,
// for the message "Chyba při čtení databáze".
class StoreAttendanceSource : public AttendanceSource
{
public:
    explicit StoreAttendanceSource(DataContext &context);

    bool personEntries(qint32 person, qint32 fromDate, qint32 toDate, std::vector<LogEntry> *out,
                       QString *error) override;
    bool calendarMonths(int month, int year, std::vector<CalendarMonth> *out,
                        QString *error) override;

    // The person with ADR:KOD `kod`. False with an empty error when there is none, false with
    // the error text when reading failed.
    bool person(qint32 kod, ReportPerson *out, QString *error);
    // Every person of the address book in the order of ADR:KeyKod.
    bool people(std::vector<ReportPerson> *out, QString *error);

    TableId failedTable() const { return m_failedTable; }

private:
    bool read(TableId table, const PageRequest &request, std::vector<Record> *rows,
              QString *error);

    DataContext &m_context;
    TableId m_failedTable = TableId::LOG_POKOJE;
};
