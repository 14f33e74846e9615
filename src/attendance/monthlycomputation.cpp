#include "monthlycomputation.h"

#include "eventcodes.h"
#include "stddatetime.h"

#include <algorithm>
#include <span>

namespace {

using namespace StdDateTime;

constexpr qint64 kEightHours = 8 * HundredthsPerHour;
constexpr qint64 kLongestPair = HundredthsPerDay;
constexpr qint32 kDefaultWorkingDays = 20;
constexpr int kData1Length = 48;
constexpr int kData2Length = 25;

QString missingArrivalText() { return QStringLiteral("POZOR - Chybí příchod !!!"); }
QString missingDepartureText() { return QStringLiteral("POZOR - chybí odchod !!!"); }
QString previousMonthText() { return QStringLiteral("Patří do minulého měsíce"); }
QString errorText() { return QStringLiteral("CHYBA !!!"); }

// An arrival or departure has a time from midnight (1) on; 0 is none.
bool hasClockTime(qint32 cas)
{
    return cas >= Midnight && cas <= LastTime;
}

// Vacation, sickness, paid-out time and initial balances are entered as a time; 0 and 00:00
// mean that none was entered.
bool hasAmountTime(qint32 cas)
{
    return cas > Midnight && cas <= LastTime;
}

// The arrivals and departures that take part in the pairing; those without a time do not.
bool isPairingRecord(const LogEntry &e)
{
    return (e.data == EventCodes::Prichod || e.data == EventCodes::Odchod) && hasClockTime(e.cas);
}

// Wall-clock length of a pair: whole days times 24 hours plus the difference of the times.
qint64 pairLength(qint32 arrivalDate, qint32 arrivalTime, qint32 departureDate,
                  qint32 departureTime)
{
    return (qint64(departureDate) - arrivalDate) * HundredthsPerDay
        + (qint64(departureTime) - arrivalTime);
}

QString weekdayName(qint32 date)
{
    switch (weekday(date)) {
    case 1: return QStringLiteral("Pondělí");
    case 2: return QStringLiteral("Úterý");
    case 3: return QStringLiteral("Středa");
    case 4: return QStringLiteral("Čtvrtek");
    case 5: return QStringLiteral("Pátek");
    case 6: return QStringLiteral("Sobota");
    case 0: return QStringLiteral("Neděle");
    default: return QString();
    }
}

// Day/month/four-digit year separated by "/".
QString dateText(qint32 date)
{
    const QDate d = toQDate(date);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

// Hours:minutes of a time of day; blank for no time.
QString timeText(qint32 time)
{
    const QTime t = toQTime(time);
    return t.isValid() ? t.toString(QStringLiteral("hh:mm")) : QString();
}

QString joinWords(const QString &head, std::initializer_list<QString> words)
{
    QString text = head;
    for (const QString &w : words) {
        if (w.isEmpty())
            continue;
        if (!text.isEmpty() && !text.endsWith(QLatin1Char(' ')))
            text += QLatin1Char(' ');
        text += w;
    }
    return text;
}

QString movementText(const QString &head, const LogEntry &e)
{
    return joinWords(head, {weekdayName(e.datum), dateText(e.datum), timeText(e.cas)});
}

// The records of [from, to] out of entries sorted by date.
std::span<const LogEntry> datesBetween(const std::vector<LogEntry> &entries, qint32 from,
                                       qint32 to)
{
    const auto first = std::lower_bound(entries.begin(), entries.end(), from,
                                        [](const LogEntry &e, qint32 d) { return e.datum < d; });
    const auto last = std::upper_bound(first, entries.end(), to,
                                       [](qint32 d, const LogEntry &e) { return d < e.datum; });
    return {first, last};
}

qint32 firstDayAfter(int year, int month)
{
    return month == 12 ? firstDayOfMonth(year + 1, 1) : firstDayOfMonth(year, month + 1);
}

qint32 lastDayBefore(int year, int month)
{
    return month == 1 ? lastDayOfMonth(year - 1, 12) : lastDayOfMonth(year, month - 1);
}

} // namespace

MonthlyComputation::MonthlyComputation(AttendanceSource *source, qint32 person, int month,
                                       int year, const ShiftBoundaries &boundaries)
    : m_source(source)
    , m_person(person)
    , m_month(month)
    , m_year(year)
    , m_boundaries(boundaries)
{
    m_result.person = person;
    m_result.MESIC = month;
    m_result.Rok = year;
}

bool MonthlyComputation::prepare(QString *error)
{
    if (!m_prepared) {
        m_prepared = true;
        m_prepareOk = runPreparation(&m_prepareError);
    }
    if (!m_prepareOk && error)
        *error = m_prepareError;
    return m_prepareOk;
}

bool MonthlyComputation::atEnd() const
{
    return !isPrepared() || m_next >= m_items.size();
}

bool MonthlyComputation::step()
{
    if (atEnd())
        return false;
    processItem(m_items[m_next], &m_pairing, &m_result, m_boundaries);
    ++m_next;
    updateTotals(&m_result);
    return true;
}

void MonthlyComputation::finish()
{
    if (!isPrepared() || m_finished)
        return;
    while (step()) {
    }
    updateTotals(&m_result);
    m_finished = true;
}

bool MonthlyComputation::compute(QString *error)
{
    if (!prepare(error))
        return false;
    finish();
    return true;
}

bool MonthlyComputation::runPreparation(QString *error)
{
    if (m_month < 1 || m_month > 12) {
        *error = QStringLiteral("Měsíc tisku musí být 1 až 12.");
        return false;
    }
    if (!m_source) {
        *error = QStringLiteral("Chybí zdroj docházky.");
        return false;
    }

    // One read of the person's records through the person, date and time key: January to
    // the chosen month, and the days either side of it that can hold the other end of a night
    // shift across the turn of a month.
    std::vector<LogEntry> fetched;
    if (!m_source->personEntries(m_person, lastDayBefore(m_year, 1),
                                 firstDayAfter(m_year, m_month), &fetched, error))
        return false;

    std::vector<LogEntry> entries;
    entries.reserve(fetched.size());
    for (LogEntry &e : fetched) {
        if (e.drzitel == m_person && EventCodes::isAttendanceCode(e.data))
            entries.push_back(std::move(e));
    }
    // Records with the same date and time are taken in entry-number order.
    std::stable_sort(entries.begin(), entries.end(), [](const LogEntry &a, const LogEntry &b) {
        if (a.datum != b.datum)
            return a.datum < b.datum;
        if (a.cas != b.cas)
            return a.cas < b.cas;
        return a.id < b.id;
    });

    // The yearly pass: every month from January to the chosen one, computed exactly as the
    // print pass computes the chosen month. Only the running total goes on to the print pass.
    qint64 runningTotal = 0;
    bool earlierWarning = false;
    for (int month = 1; month <= m_month; ++month) {
        qint32 days = 0;
        QString name;
        bool found = false;
        if (!workingDays(month, &days, &name, &found, error))
            return false;

        MonthlyResult monthResult;
        monthResult.PRACOVNICH_DNU = days;
        monthResult.owed = qint64(days) * kEightHours;
        std::vector<PassItem> items = monthItems(entries, m_year, month, &monthResult.hasRecords);
        Pairing pairing;
        for (const PassItem &item : items)
            processItem(item, &pairing, &monthResult, m_boundaries);

        if (monthResult.hasRecords)
            runningTotal += monthResult.konecny() - monthResult.owed;
        if (month < m_month && monthResult.DSTATE)
            earlierWarning = true;

        if (month == m_month) {
            m_result.hasCalendar = found;
            m_result.calendarName = name;
            m_result.PRACOVNICH_DNU = days;
            m_result.owed = monthResult.owed;
            m_result.hasRecords = monthResult.hasRecords;
            m_items = std::move(items);
        }
    }
    m_result.PRESCAS_ROK = runningTotal;
    m_result.earlierMonthWarning = earlierWarning;
    updateTotals(&m_result);
    return true;
}

bool MonthlyComputation::workingDays(int month, qint32 *days, QString *name, bool *found,
                                     QString *error)
{
    std::vector<CalendarMonth> months;
    if (!m_source->calendarMonths(month, m_year, &months, error))
        return false;
    const CalendarMonth *chosen = nullptr;
    for (const CalendarMonth &m : months) {
        if (m.mesic != month || m.rok != m_year)
            continue;
        if (!chosen || m.kod < chosen->kod)
            chosen = &m;
    }
    *found = chosen != nullptr;
    *name = chosen ? chosen->nazev : QString();
    *days = (chosen && chosen->pracovnichDnu > 0) ? chosen->pracovnichDnu : kDefaultWorkingDays;
    return true;
}

std::vector<MonthlyComputation::PassItem>
MonthlyComputation::monthItems(const std::vector<LogEntry> &entries, int year, int month,
                               bool *hasRecords)
{
    const std::span<const LogEntry> records =
        datesBetween(entries, firstDayOfMonth(year, month), lastDayOfMonth(year, month));
    std::vector<PassItem> items;
    items.reserve(records.size() + 1);
    for (const LogEntry &e : records)
        items.push_back({e, false});

    // The other end of a night shift across a turn of the month lies within 24 hours, so on
    // the last day of the month before or the first day of the month after.
    const qint32 dayBefore = lastDayBefore(year, month);
    const qint32 dayAfter = firstDayAfter(year, month);
    const LogEntry *lastBefore = nullptr;
    for (const LogEntry &e : datesBetween(entries, dayBefore, dayBefore)) {
        if (isPairingRecord(e))
            lastBefore = &e;
    }
    const LogEntry *firstAfter = nullptr;
    for (const LogEntry &e : datesBetween(entries, dayAfter, dayAfter)) {
        if (isPairingRecord(e)) {
            firstAfter = &e;
            break;
        }
    }

    // The month's first departure closes the previous month's last arrival: it was counted
    // there.
    const auto firstPairing = std::find_if(items.begin(), items.end(),
                                           [](const PassItem &i) { return isPairingRecord(i.entry); });
    if (firstPairing != items.end() && firstPairing->entry.data == EventCodes::Odchod && lastBefore
        && lastBefore->data == EventCodes::Prichod
        && pairLength(lastBefore->datum, lastBefore->cas, firstPairing->entry.datum,
                      firstPairing->entry.cas) <= kLongestPair)
        firstPairing->belongsToPrevious = true;

    *hasRecords = std::any_of(items.begin(), items.end(),
                              [](const PassItem &i) { return !i.belongsToPrevious; });

    // The month's last arrival, still open, is closed by the next month's first departure.
    const auto lastPairing = std::find_if(items.rbegin(), items.rend(),
                                          [](const PassItem &i) { return isPairingRecord(i.entry); });
    if (lastPairing != items.rend() && lastPairing->entry.data == EventCodes::Prichod && firstAfter
        && firstAfter->data == EventCodes::Odchod
        && pairLength(lastPairing->entry.datum, lastPairing->entry.cas, firstAfter->datum,
                      firstAfter->cas) <= kLongestPair)
        items.push_back({*firstAfter, false});

    return items;
}

void MonthlyComputation::processItem(const PassItem &item, Pairing *p, MonthlyResult *r,
                                     const ShiftBoundaries &boundaries)
{
    const LogEntry &e = item.entry;
    DetailLine line;
    line.POL = qint32(r->lines.size()) + 1;
    line.id = e.id;
    line.datum = e.datum;
    line.cas = e.cas;
    line.data = e.data;

    const bool amountHasTime = hasAmountTime(e.cas);
    const qint64 amount = amountHasTime ? qint64(e.cas) - 1 : 0;

    switch (e.data) {
    case EventCodes::Prichod:
        line.DATA1 = movementText(QStringLiteral("PŘÍCHOD: "), e);
        if (!hasClockTime(e.cas)) {
            line.DATA2 = missingArrivalText();
            r->DSTATE = 1;
            break;
        }
        if (p->FLAG == 1) {
            line.DATA2 = missingDepartureText();
            r->DSTATE = 1;
        }
        p->FLAG = 1;
        p->DATUM_PRICHOD = e.datum;
        p->CAS = e.cas;
        p->SMENA = ShiftClassifier::classify(e.cas, boundaries);
        break;

    case EventCodes::Odchod: {
        line.DATA1 = movementText(QStringLiteral("ODCHOD: "), e);
        if (!hasClockTime(e.cas)) {
            line.DATA2 = missingDepartureText();
            r->DSTATE = 1;
            break;
        }
        if (item.belongsToPrevious) {
            line.DATA2 = previousMonthText();
        } else if (p->FLAG != 1) {
            line.DATA2 = missingArrivalText();
            r->DSTATE = 1;
        } else {
            const qint64 length = pairLength(p->DATUM_PRICHOD, p->CAS, e.datum, e.cas);
            if (length > kLongestPair) {
                line.DATA2 = missingArrivalText();
                r->DSTATE = 1;
            } else {
                line.DATA2 = QStringLiteral("Mezisoučet: ") + amountText(length);
                r->ITEMTOTAL += length;
                const bool weekend = isWeekend(e.datum);
                switch (p->SMENA) {
                case ShiftClassifier::Ranni:
                    (weekend ? r->RANNI_VIKEND : r->RANNI) += length;
                    break;
                case ShiftClassifier::Odpoledni:
                    (weekend ? r->ODPOLEDNI_VIKEND : r->ODPOLEDNI) += length;
                    break;
                case ShiftClassifier::Nocni:
                    (weekend ? r->NOCNI_VIKEND : r->NOCNI) += length;
                    break;
                default:
                    break;
                }
            }
        }
        p->FLAG = 2;
        p->CAS = 0;
        p->SMENA = 0;
        break;
    }

    case EventCodes::Dovolena:
    case EventCodes::Nemoc: {
        const QString head = e.data == EventCodes::Dovolena ? QStringLiteral("Dovolená: ")
                                                            : QStringLiteral("Nemoc: ");
        qint64 &total = e.data == EventCodes::Dovolena ? r->DOVOLENA : r->NEMOC;
        if (amountHasTime) {
            total += amount;
            line.DATA1 = joinWords(head, {dateText(e.datum), timeText(e.cas)});
        } else {
            total += kEightHours;
            line.DATA1 = joinWords(head, {dateText(e.datum)});
        }
        break;
    }

    case EventCodes::Proplaceno:
        r->PROPLACENO += amount;
        line.DATA1 = QStringLiteral("Proplaceno: -") + timeText(e.cas);
        break;

    case EventCodes::VychoziKladny:
        r->VYCHOZI += amount;
        line.DATA1 = QStringLiteral("Výchozí stav: +") + timeText(e.cas);
        break;

    case EventCodes::VychoziZaporny:
        r->VYCHOZI -= amount;
        line.DATA1 = QStringLiteral("Výchozí stav: -") + timeText(e.cas);
        break;

    default:
        break;
    }

    line.DATA1.truncate(kData1Length);
    line.DATA2.truncate(kData2Length);
    r->lines.push_back(std::move(line));
}

void MonthlyComputation::updateTotals(MonthlyResult *r)
{
    // A month without records owes nothing, as it adds nothing to the running total.
    r->PRESCAS = r->hasRecords ? r->celkem() - r->owed : 0;

    r->VYSLEDEK_SKUT = amountText(r->ITEMTOTAL);
    r->VYSLEDEK_DOV = amountText(r->DOVOLENA);
    r->VYSLEDEK_NEM = amountText(r->NEMOC);
    r->VYSLEDEK_PROP = amountText(r->PROPLACENO);
    r->VYSLEDEK_CELKEM = amountText(r->celkem());
    r->KONECNY_VYSLEDEK = r->DSTATE ? errorText() : amountText(r->konecny());
    r->VYSLEDEK_PRESC = signedAmountText(r->PRESCAS);
    r->VYSLEDEK_PRESC_ROK = (r->DSTATE || r->earlierMonthWarning)
        ? errorText()
        : signedAmountText(r->PRESCAS_ROK);
    r->VYSLEDEK_RANNI = amountText(r->RANNI);
    r->VYSLEDEK_ODPO = amountText(r->ODPOLEDNI);
    r->VYSLEDEK_NOCNI = amountText(r->NOCNI);
    r->VYSLEDEK_RANNI_V = amountText(r->RANNI_VIKEND);
    r->VYSLEDEK_ODPO_V = amountText(r->ODPOLEDNI_VIKEND);
    r->VYSLEDEK_NOCNI_V = amountText(r->NOCNI_VIKEND);
}
