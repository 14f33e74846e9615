#pragma once

#include "shiftclassifier.h"

#include <QString>

#include <vector>

// One record of the log LOG_POKOJE as the attendance computation reads it.
struct LogEntry
{
    qint32 id = 0;        // LPO:ID, entry number
    QString karta;        // LPO:KARTA
    int ctecka = 0;       // LPO:CTECKA
    int data = 0;         // LPO:DATA, event code
    qint32 datum = 0;     // LPO:DATUM, standard date
    qint32 cas = 0;       // LPO:CAS, standard time (or an amount entered as a time)
    QString poznamka;     // LPO:POZNAMKA
    qint32 drzitel = 0;   // LPO:DRZITEL, the person's ADR:KOD
};

// One record of the work calendar KALENDAR.
struct CalendarMonth
{
    qint32 kod = 0;              // KAL:KOD
    int mesic = 0;               // KAL:MESIC
    int rok = 0;                 // KAL:ROK, four digits
    qint32 pracovnichDnu = 0;    // KAL:PRACOVNICH_DNU
    qint32 pracovnichHodin = 0;  // KAL:PRACOVNICH_HODIN
    QString nazev;               // KAL:NAZEV
};

// Where the computation reads the log and the calendar from. The program implements it over
// its tables; the computation only reads.
class AttendanceSource
{
public:
    virtual ~AttendanceSource() = default;
    // The person's records with datum in [fromDate, toDate], in the order person, date, time,
    // entry number (the key LPO:KeyOsoba_Dat_Cas); false and an error text when reading fails.
    virtual bool personEntries(qint32 person, qint32 fromDate, qint32 toDate,
                               std::vector<LogEntry> *out, QString *error) = 0;
    // The calendar records of a month and year (several possible: the one with the lowest
    // KAL:KOD counts); false and an error text when reading fails.
    virtual bool calendarMonths(int month, int year, std::vector<CalendarMonth> *out,
                                QString *error) = 0;
};

// One detail line of the report: the line number, the description and the remark, and the
// record it describes (printed by nobody; the report carries them as hidden fields).
struct DetailLine
{
    qint32 POL = 0;     // line number, from 1
    QString DATA1;      // description, at most 48 characters
    QString DATA2;      // remark, at most 25 characters
    qint32 id = 0;      // LPO:ID of the record
    qint32 datum = 0;   // LPO:DATUM
    qint32 cas = 0;     // LPO:CAS
    int data = 0;       // LPO:DATA
};

// The monthly attendance of one person: the detail lines, every total in exact hundredths of
// a second, and the texts the report prints. The texts are current after prepare() and after
// every step().
struct MonthlyResult
{
    // The run.
    qint32 person = 0;     // GLO:TiskDrzitel at the start
    int MESIC = 0;         // the chosen month, 1..12
    int Rok = 0;           // the report year, four digits

    // The heading.
    bool hasCalendar = false;     // a calendar record of the month was found
    QString calendarName;         // its KAL:NAZEV; blank without a record
    qint32 PRACOVNICH_DNU = 0;    // working days, 20 without a record or for 0 or fewer
    qint64 owed = 0;              // PRACOVNICH_DNU times 8 hours

    // Whether the person has any attendance record in the month. A month whose only record is
    // a departure that closes the previous month's last arrival has none. Without records
    // the month owes nothing and adds nothing to PRESCAS_ROK.
    bool hasRecords = false;

    std::vector<DetailLine> lines;

    // The month's amounts.
    qint64 ITEMTOTAL = 0;         // worked
    qint64 DOVOLENA = 0;          // vacation
    qint64 NEMOC = 0;             // sickness
    qint64 PROPLACENO = 0;        // paid out
    qint64 VYCHOZI = 0;           // initial balance, signed
    qint64 RANNI = 0;             // weekday morning
    qint64 ODPOLEDNI = 0;         // weekday afternoon
    qint64 NOCNI = 0;             // weekday night
    qint64 RANNI_VIKEND = 0;      // weekend morning
    qint64 ODPOLEDNI_VIKEND = 0;  // weekend afternoon
    qint64 NOCNI_VIKEND = 0;      // weekend night
    qint64 PRESCAS = 0;           // the month's balance: worked + vacation + sickness + initial - owed
    qint64 PRESCAS_ROK = 0;       // running total of January to the chosen month, paid out deducted

    int DSTATE = 0;               // 1 once a record of the chosen month carried a warning
    bool earlierMonthWarning = false;  // a month before the chosen one carried a warning

    // worked + vacation + sickness + initial balance
    qint64 celkem() const { return ITEMTOTAL + DOVOLENA + NEMOC + VYCHOZI; }
    // the same less the time paid out
    qint64 konecny() const { return celkem() - PROPLACENO; }

    // The texts of the footer.
    QString VYSLEDEK_SKUT;        // ITEMTOTAL
    QString VYSLEDEK_DOV;         // DOVOLENA
    QString VYSLEDEK_NEM;         // NEMOC
    QString VYSLEDEK_PROP;        // PROPLACENO
    QString VYSLEDEK_CELKEM;      // celkem()
    QString KONECNY_VYSLEDEK;     // konecny(), or "CHYBA !!!" when DSTATE is 1
    QString VYSLEDEK_PRESC;       // PRESCAS with its sign
    QString VYSLEDEK_PRESC_ROK;   // PRESCAS_ROK with its sign, or "CHYBA !!!" after a warning
                                  // in the chosen month or in any month before it
    QString VYSLEDEK_RANNI;
    QString VYSLEDEK_ODPO;
    QString VYSLEDEK_NOCNI;
    QString VYSLEDEK_RANNI_V;
    QString VYSLEDEK_ODPO_V;
    QString VYSLEDEK_NOCNI_V;
};

// The monthly attendance computation of the report TiskDochazky for one person, month and
// year, fixed when the object is made.
//
// A report window drives it record by record: prepare() once (it reads the person's records
// and runs the yearly pass), then step() for each record, one detail line each, from a timer
// that may be paused and resumed at will, and finish() at the end. Cancelling is dropping the
// object. compute() runs all of it at once. The source must outlive the object.
class MonthlyComputation
{
public:
    MonthlyComputation(AttendanceSource *source, qint32 person, int month, int year,
                       const ShiftBoundaries &boundaries);

    MonthlyComputation(const MonthlyComputation &) = delete;
    MonthlyComputation &operator=(const MonthlyComputation &) = delete;

    // Reads the person's records of January up to the chosen month (with the last day before
    // and the first day after them), the calendar months, runs the yearly pass and sets up the
    // print pass. Runs only once: a second call does nothing and returns the first outcome.
    // False and an error text when the month is not 1..12 or the source fails.
    bool prepare(QString *error = nullptr);

    // Processes the next record of the print pass: its detail line is appended to
    // result().lines and every total and text is brought up to date. False when there is no
    // record left (or prepare() has not succeeded).
    bool step();

    // Ends the print pass: processes any records left and makes the texts final.
    void finish();

    // prepare(), every step() and finish().
    bool compute(QString *error = nullptr);

    bool isPrepared() const { return m_prepared && m_prepareOk; }
    bool atEnd() const;
    bool isFinished() const { return m_finished; }
    // Records of the print pass in all, and processed so far (for a progress bar).
    int recordCount() const { return int(m_items.size()); }
    int processedCount() const { return int(m_next); }

    const MonthlyResult &result() const { return m_result; }

private:
    // One record of the print pass. A departure that closes the previous month's last arrival
    // belongs to that month and counts nothing here.
    struct PassItem
    {
        LogEntry entry;
        bool belongsToPrevious = false;
    };

    // The pairing state of a pass: FLAG 0 nothing yet, 1 an arrival is open, 2 the last pair
    // was closed; the open arrival's date, time and shift.
    struct Pairing
    {
        int FLAG = 0;
        qint32 DATUM_PRICHOD = 0;
        qint32 CAS = 0;
        int SMENA = 0;
    };

    static void processItem(const PassItem &item, Pairing *pairing, MonthlyResult *result,
                            const ShiftBoundaries &boundaries);
    static void updateTotals(MonthlyResult *result);
    static std::vector<PassItem> monthItems(const std::vector<LogEntry> &entries, int year,
                                            int month, bool *hasRecords);
    bool workingDays(int month, qint32 *days, QString *name, bool *found, QString *error);
    bool runPreparation(QString *error);

    AttendanceSource *m_source;
    qint32 m_person;
    int m_month;
    int m_year;
    ShiftBoundaries m_boundaries;

    bool m_prepared = false;
    bool m_prepareOk = false;
    QString m_prepareError;
    bool m_finished = false;

    std::vector<PassItem> m_items;
    size_t m_next = 0;
    Pairing m_pairing;
    MonthlyResult m_result;
};
