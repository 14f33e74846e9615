#include "servicesimulator.h"

#include "eventcodes.h"
#include "eventgenerator.h"
#include "schema.h"
#include "stddatetime.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sqlite3.h>

namespace {

// A batch that cannot be written for this long ends the run.
constexpr int giveUpMs = 30000;

class Statement
{
public:
    Statement(sqlite3 *db, const char *sql)
        : m_db(db)
    {
        m_rc = sqlite3_prepare_v2(db, sql, -1, &m_st, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_st); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool ok() const { return m_rc == SQLITE_OK; }
    sqlite3_stmt *get() const { return m_st; }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_st = nullptr;
    int m_rc = SQLITE_OK;
};

bool isBusy(int rc)
{
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

QString text(sqlite3_stmt *st, int column)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, column));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(st, column)) : QString();
}

void pause(int ms)
{
    QThread::msleep(ulong(std::max(1, ms)));
}

} // namespace

ServiceSimulator::ServiceSimulator(SimulatorOptions options)
    : m_options(std::move(options))
    , m_gen(std::make_unique<EventGenerator>(m_options.seed))
{
}

ServiceSimulator::~ServiceSimulator()
{
    closeAll();
}

void ServiceSimulator::closeAll()
{
    for (sqlite3 **db : {&m_log, &m_cards, &m_units, &m_alarms, &m_state}) {
        sqlite3_close(*db);
        *db = nullptr;
    }
}

bool ServiceSimulator::parseNumbers(const QString &list, QList<int> *out)
{
    out->clear();
    for (const QString &part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = part.trimmed().split(QLatin1Char('-'));
        bool ok1 = false, ok2 = false;
        const int from = ends.value(0).trimmed().toInt(&ok1);
        const int to = ends.size() == 2 ? ends.value(1).trimmed().toInt(&ok2) : from;
        if (!ok1 || (ends.size() == 2 && !ok2) || ends.size() > 2 || to < from || from < 0)
            return false;
        for (int n = from; n <= to; ++n)
            out->append(n);
    }
    return !out->isEmpty();
}

bool ServiceSimulator::openTable(int table, sqlite3 **db, QString *error)
{
    // The file names are the only thing taken from the program; the rest is plain SQL.
    const QString path = QDir(m_options.dataDir).filePath(tableDef(TableId(table)).fileName());
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("no table file %1 (is %2 a data directory of the program?)")
                     .arg(tableDef(TableId(table)).fileName(), m_options.dataDir);
        return false;
    }
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        *error = QStringLiteral("%1: %2").arg(path, QString::fromUtf8(sqlite3_errmsg(*db)));
        return false;
    }
    sqlite3_busy_timeout(*db, m_options.busyTimeoutMs);
    sqlite3_extended_result_codes(*db, 1);
    sqlite3_exec(*db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    return true;
}

bool ServiceSimulator::openAll(QString *error)
{
    return openTable(int(TableId::LOG_POKOJE), &m_log, error) && openTable(int(TableId::CARDS), &m_cards, error) &&
           openTable(int(TableId::GCU_POK), &m_units, error) &&
           openTable(int(TableId::GCU_ALARM), &m_alarms, error) && openTable(int(TableId::STATE), &m_state, error);
}

bool ServiceSimulator::loadTables(QString *error)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        std::map<int, Card> cards;
        std::map<int, int> usage;
        int cardCount = 0, alarms = 0;
        int rc = SQLITE_DONE;
        const qint32 today = StdDateTime::fromQDate(QDate::currentDate());
        {
            Statement st(m_cards, "SELECT \"KOD_RFID\", \"KATEGORIE\", \"DRZITEL\", \"STAV_KARTY\", "
                                  "\"DATUM_PLATNOSTI\" FROM \"CARDS\" ORDER BY \"ID\"");
            if (!st.ok()) {
                *error = QStringLiteral("CARDS: %1").arg(st.error());
                return false;
            }
            while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
                ++cardCount;
                const int holder = sqlite3_column_int(st.get(), 2);
                if (holder == 0)
                    continue;
                const qint64 until = sqlite3_column_int64(st.get(), 4);
                Card c;
                c.rfid = text(st.get(), 0);
                c.category = sqlite3_column_int64(st.get(), 1);
                c.valid = sqlite3_column_int(st.get(), 3) == 1 && (until == 0 || until >= today);
                // The holder presents a valid card when there is one, else the first.
                auto it = cards.find(holder);
                if (it == cards.end() || (!it->second.valid && c.valid))
                    cards[holder] = c;
            }
        }
        if (rc == SQLITE_DONE) {
            Statement st(m_units, "SELECT \"ID_GCU\", \"POUZITI\" FROM \"GCU_POK\"");
            if (!st.ok()) {
                *error = QStringLiteral("GCU_POK: %1").arg(st.error());
                return false;
            }
            while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
                usage[sqlite3_column_int(st.get(), 0)] = sqlite3_column_int(st.get(), 1);
        }
        if (rc == SQLITE_DONE) {
            // The service drives the alarm outputs; here they are only read.
            Statement st(m_alarms, "SELECT \"ID\", \"VERZE_GCU\", \"CISLO_GCU\", \"ALARM_VYSTUP\" FROM \"GCU_ALARM\"");
            if (!st.ok()) {
                *error = QStringLiteral("GCU_ALARM: %1").arg(st.error());
                return false;
            }
            while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
                ++alarms;
        }
        if (rc == SQLITE_DONE) {
            m_cardOf = std::move(cards);
            m_usage = std::move(usage);
            m_report.cards = cardCount;
            m_report.units = int(m_usage.size());
            m_report.alarms = alarms;
            return true;
        }
        if (!isBusy(rc) || waited.elapsed() > giveUpMs) {
            *error = QStringLiteral("reading the cards and units: %1").arg(QString::fromUtf8(sqlite3_errstr(rc)));
            return false;
        }
        ++m_report.retries;
        pause(10);
    }
}

bool ServiceSimulator::choosePeopleAndReaders(QString *error)
{
    m_people.clear();
    m_readers.clear();
    if (m_options.people.isEmpty()) {
        for (const auto &[holder, card] : m_cardOf)
            m_people.push_back(holder);
    } else {
        for (int p : m_options.people) {
            if (!m_cardOf.count(p)) {
                *error = QStringLiteral("person %1 has no card in CARDS").arg(p);
                return false;
            }
            m_people.push_back(p);
        }
    }
    if (m_options.readers.isEmpty()) {
        for (const auto &[unit, usage] : m_usage)
            m_readers.push_back(unit);
    } else {
        for (int r : m_options.readers) {
            if (!m_usage.count(r)) {
                *error = QStringLiteral("reader %1 is not a unit of GCU_POK").arg(r);
                return false;
            }
            m_readers.push_back(r);
        }
    }
    if (m_people.empty()) {
        *error = QStringLiteral("no card holders in CARDS");
        return false;
    }
    if (m_readers.empty()) {
        *error = QStringLiteral("no units in GCU_POK");
        return false;
    }
    return true;
}

bool ServiceSimulator::loadAttendanceState(QString *error)
{
    Statement st(m_log, "SELECT \"DATA\" FROM \"LOG_POKOJE\" WHERE \"DRZITEL\" = ? AND \"DATA\" IN (41, 43) "
                        "ORDER BY \"DATUM\" DESC, \"CAS\" DESC, \"ID\" DESC LIMIT 1");
    if (!st.ok()) {
        *error = QStringLiteral("LOG_POKOJE: %1").arg(st.error());
        return false;
    }
    for (int p : m_people) {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            sqlite3_reset(st.get());
            sqlite3_bind_int(st.get(), 1, p);
            const int rc = sqlite3_step(st.get());
            if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
                m_inside[p] = rc == SQLITE_ROW && sqlite3_column_int(st.get(), 0) == EventCodes::Prichod;
                break;
            }
            if (!isBusy(rc) || waited.elapsed() > giveUpMs) {
                *error = QStringLiteral("LOG_POKOJE: %1").arg(QString::fromUtf8(sqlite3_errstr(rc)));
                return false;
            }
            ++m_report.retries;
            pause(10);
        }
    }
    return true;
}

bool ServiceSimulator::takeChangeSignal(QString *error)
{
    int signal = 0;
    {
        Statement st(m_state, "SELECT \"READY2UPDATE\" FROM \"STATE\" WHERE \"ID\" = 1");
        if (!st.ok()) {
            *error = QStringLiteral("STATE: %1").arg(st.error());
            return false;
        }
        const int rc = sqlite3_step(st.get());
        if (isBusy(rc)) {
            ++m_report.retries;  // looked at again on the next round
            return true;
        }
        if (rc == SQLITE_ROW)
            signal = sqlite3_column_int(st.get(), 0);
        else if (rc != SQLITE_DONE) {
            *error = QStringLiteral("STATE: %1").arg(QString::fromUtf8(sqlite3_errstr(rc)));
            return false;
        }
    }
    if (signal == 0)
        return true;
    // Take the change as the service does: read the cards and units again, then clear the signal.
    if (!loadTables(error))
        return false;
    Statement st(m_state, "UPDATE \"STATE\" SET \"READY2UPDATE\" = 0, \"UPDATEDATESTAMP\" = ?, "
                          "\"UPDATETIMESTAMP\" = ? WHERE \"ID\" = 1 AND \"READY2UPDATE\" <> 0");
    if (!st.ok()) {
        *error = QStringLiteral("STATE: %1").arg(st.error());
        return false;
    }
    const QDateTime now = QDateTime::currentDateTime();
    sqlite3_bind_int(st.get(), 1, StdDateTime::fromQDate(now.date()));
    sqlite3_bind_int(st.get(), 2, StdDateTime::fromQTime(now.time()));
    const int rc = sqlite3_step(st.get());
    if (isBusy(rc)) {
        ++m_report.retries;  // the signal is still set: taken again on the next round
        return true;
    }
    if (rc != SQLITE_DONE) {
        *error = QStringLiteral("STATE: %1").arg(QString::fromUtf8(sqlite3_errstr(rc)));
        return false;
    }
    if (sqlite3_changes(m_state) > 0)
        ++m_report.signalsTaken;
    return true;
}

ServiceSimulator::PlannedEvent ServiceSimulator::plan(qint64 index)
{
    PlannedEvent e;
    const QDateTime when =
        QDateTime::fromMSecsSinceEpoch(m_startMs + qint64(std::llround(double(index) * 1000.0 / m_options.rate)));
    e.datum = StdDateTime::fromQDate(when.date());
    e.cas = StdDateTime::fromQTime(when.time());
    e.person = m_people[size_t(m_gen->bounded(0, int(m_people.size()) - 1))];
    e.reader = m_readers[size_t(m_gen->bounded(0, int(m_readers.size()) - 1))];
    const auto card = m_cardOf.find(e.person);
    if (card == m_cardOf.end() || !card->second.valid) {
        // No card any more (after a reload), or one that is blocked or expired.
        if (card != m_cardOf.end()) {
            e.card = card->second.rfid;
            e.category = card->second.category;
        }
        e.code = EventCodes::ZamitnutPristup;
        return e;
    }
    e.card = card->second.rfid;
    e.category = card->second.category;
    switch (m_usage[e.reader]) {
    case EventGenerator::AttendanceTerminal: {
        bool &inside = m_inside[e.person];
        e.code = inside ? EventCodes::Odchod : EventCodes::Prichod;
        inside = !inside;
        break;
    }
    case EventGenerator::Gate:
        e.code = EventCodes::GsmBrana;
        break;
    default:
        e.code = m_gen->doorCode(m_options.refusedPercent);
    }
    return e;
}

bool ServiceSimulator::writeBatch(const std::vector<PlannedEvent> &events, QString *error)
{
    QElapsedTimer waited;
    waited.start();
    auto gaveUp = [&] {
        if (waited.elapsed() <= giveUpMs)
            return false;
        *error = QStringLiteral("LOG_POKOJE stayed locked for %1 s").arg(giveUpMs / 1000);
        return true;
    };
    for (;;) {
        int rc = sqlite3_exec(m_log, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (isBusy(rc)) {
            ++m_report.retries;
            if (gaveUp())
                return false;
            pause(10);
            continue;
        }
        if (rc != SQLITE_OK) {
            *error = QStringLiteral("LOG_POKOJE: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_log)));
            return false;
        }
        std::vector<qint64> ids;
        bool busy = false;
        {
            Statement st(m_log, "INSERT INTO \"LOG_POKOJE\" (\"KARTA\", \"KATEGORIE_KARTY\", \"CTECKA\", \"DATA\", "
                                "\"DATUM\", \"CAS\", \"POZNAMKA\", \"DRZITEL\") VALUES (?, ?, ?, ?, ?, ?, '', ?)");
            if (!st.ok()) {
                *error = QStringLiteral("LOG_POKOJE: %1").arg(st.error());
                sqlite3_exec(m_log, "ROLLBACK", nullptr, nullptr, nullptr);
                return false;
            }
            for (const PlannedEvent &e : events) {
                sqlite3_reset(st.get());
                const QByteArray card = e.card.toUtf8();
                sqlite3_bind_text(st.get(), 1, card.constData(), int(card.size()), SQLITE_TRANSIENT);
                sqlite3_bind_int64(st.get(), 2, e.category);
                sqlite3_bind_int(st.get(), 3, e.reader);
                sqlite3_bind_int(st.get(), 4, e.code);
                sqlite3_bind_int(st.get(), 5, e.datum);
                sqlite3_bind_int(st.get(), 6, e.cas);
                sqlite3_bind_int(st.get(), 7, e.person);
                rc = sqlite3_step(st.get());
                if (isBusy(rc)) {
                    busy = true;
                    break;
                }
                if (rc != SQLITE_DONE) {
                    *error = QStringLiteral("LOG_POKOJE: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_log)));
                    sqlite3_reset(st.get());
                    sqlite3_exec(m_log, "ROLLBACK", nullptr, nullptr, nullptr);
                    return false;
                }
                ids.push_back(sqlite3_last_insert_rowid(m_log));
            }
        }
        if (busy) {
            sqlite3_exec(m_log, "ROLLBACK", nullptr, nullptr, nullptr);
            ++m_report.retries;
            if (gaveUp())
                return false;
            pause(10);
            continue;
        }
        // A commit that finds readers still on the file waits and tries again; the
        // transaction stays open meanwhile, so nothing is written twice.
        for (;;) {
            rc = sqlite3_exec(m_log, "COMMIT", nullptr, nullptr, nullptr);
            if (rc == SQLITE_OK)
                break;
            if (!isBusy(rc) || gaveUp()) {
                if (!isBusy(rc))
                    *error = QStringLiteral("LOG_POKOJE: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_log)));
                sqlite3_exec(m_log, "ROLLBACK", nullptr, nullptr, nullptr);
                return false;
            }
            ++m_report.retries;
            pause(10);
        }
        for (qint64 id : ids) {
            if (m_report.firstId == 0 || id < m_report.firstId)
                m_report.firstId = id;
            m_report.lastId = std::max(m_report.lastId, id);
        }
        m_report.written += qint64(ids.size());
        return true;
    }
}

bool ServiceSimulator::run(SimulatorReport *report, QString *error)
{
    QString reason;
    m_report = SimulatorReport{};
    auto finish = [&](bool ok) {
        *report = m_report;
        if (!ok && error)
            *error = reason;
        return ok;
    };
    if (!(m_options.rate > 0)) {
        reason = QStringLiteral("the rate must be above 0");
        return finish(false);
    }
    if (!openAll(&reason) || !loadTables(&reason) || !choosePeopleAndReaders(&reason) ||
        !loadAttendanceState(&reason))
        return finish(false);

    qint64 limit = m_options.count >= 0 ? m_options.count : std::numeric_limits<qint64>::max();
    const double seconds = m_options.seconds > 0 ? m_options.seconds : (m_options.count < 0 ? 60.0 : -1.0);
    if (seconds > 0)
        limit = std::min(limit, qint64(std::ceil(seconds * m_options.rate - 1e-9)));

    // Event k is due k / rate seconds after the start.
    m_startMs = QDateTime::currentMSecsSinceEpoch();
    QElapsedTimer timer;
    timer.start();
    qint64 planned = 0;
    for (;;) {
        if (!takeChangeSignal(&reason))
            return finish(false);
        const double elapsed = double(timer.nsecsElapsed()) / 1e9;
        const bool timeUp = seconds > 0 && elapsed >= seconds;
        const qint64 due = timeUp ? limit : std::min(limit, qint64(std::floor(elapsed * m_options.rate)) + 1);
        if (due > planned) {
            std::vector<PlannedEvent> batch;
            for (; planned < due; ++planned)
                batch.push_back(plan(planned));
            if (!writeBatch(batch, &reason))
                return finish(false);
        }
        if (planned >= limit || timeUp)
            break;
        const double nextDue = double(planned) / m_options.rate;
        const double now = double(timer.nsecsElapsed()) / 1e9;
        pause(int(std::clamp((nextDue - now) * 1000.0, 1.0, 20.0)));
    }
    return finish(true);
}
