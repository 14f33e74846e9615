#pragma once

#include <QList>
#include <QString>

#include <map>
#include <memory>
#include <vector>

struct sqlite3;
class EventGenerator;

// What the simulator is asked to do.
struct SimulatorOptions {
    QString dataDir;           // the program's data directory
    double rate = 10;          // events a second
    qint64 count = -1;         // stop after this many events; -1: no such limit
    double seconds = -1;       // stop after this many seconds; -1: no such limit (60 when neither is given)
    QList<int> people;         // ADR:KOD of the people who present their cards; empty: every card holder
    QList<int> readers;        // GCP:ID_GCU of the readers used; empty: every unit of GCU_POK
    quint32 seed = 1;
    int busyTimeoutMs = 2000;  // how long one statement waits for a lock before it is retried
    int refusedPercent = 3;    // door events refused although the card is valid
};

// What a run did.
struct SimulatorReport {
    qint64 written = 0;     // events written to LOG_POKOJE
    qint64 firstId = 0;     // LPO:ID of the first and the last of them (0 when none)
    qint64 lastId = 0;
    int retries = 0;        // statements or commits repeated because the files were locked
    int signalsTaken = 0;   // times STA:READY2UPDATE was found set and cleared
    int cards = 0;          // cards, units and alarm outputs read at the last (re)load
    int units = 0;
    int alarms = 0;
};

// Behaves towards the program's tables as the communication service does, through plain
// SQLite connections of its own (no code of the program touches the files here, nor its
// collation): it reads CARDS, GCU_POK and GCU_ALARM, writes the door and attendance events of
// the given people at the given readers into LOG_POKOJE at a given rate, and when it finds the
// change signal STA:READY2UPDATE of STATE record 1 set, it reads the cards and units again and
// clears the signal. Every statement waits for locks for the busy timeout; a transaction or a
// commit that still found the files locked is retried. It stops after the given count or time.
//
// The events: at the attendance terminal (GCP:POUZITI 3) an arrival (41) or a departure (43),
// by whether the person's last attendance event was a departure; at the gate (POUZITI 4)
// "GSM - otevřena brána" (66); at any other door "Otevírám dveře" (51), or now and then
// "Zamítnut přístup" (53). A person whose card is blocked (CAR:STAV_KARTY 0) or past its
// validity date is refused (53) everywhere. LPO:KARTA is the card's RFID code.
class ServiceSimulator
{
public:
    explicit ServiceSimulator(SimulatorOptions options);
    ~ServiceSimulator();

    ServiceSimulator(const ServiceSimulator &) = delete;
    ServiceSimulator &operator=(const ServiceSimulator &) = delete;

    // Runs to the end; false with a reason when the tables cannot be used or a batch could
    // not be written for half a minute. The report holds what was done either way.
    bool run(SimulatorReport *report, QString *error);

    // Parses "3", "1,4,7", "1-5,8" into numbers; false for anything else.
    static bool parseNumbers(const QString &text, QList<int> *out);

private:
    struct Card {
        QString rfid;
        qint64 category = 0;
        bool valid = false;
    };
    struct PlannedEvent {
        QString card;
        qint64 category = 0;
        int reader = 0;
        int code = 0;
        qint32 datum = 0;
        qint32 cas = 0;
        int person = 0;
    };

    bool openAll(QString *error);
    bool openTable(int table, sqlite3 **db, QString *error);
    bool loadTables(QString *error);
    bool choosePeopleAndReaders(QString *error);
    bool loadAttendanceState(QString *error);
    bool takeChangeSignal(QString *error);
    PlannedEvent plan(qint64 index);
    bool writeBatch(const std::vector<PlannedEvent> &events, QString *error);
    void closeAll();

    SimulatorOptions m_options;
    SimulatorReport m_report;
    std::unique_ptr<EventGenerator> m_gen;
    sqlite3 *m_log = nullptr;
    sqlite3 *m_cards = nullptr;
    sqlite3 *m_units = nullptr;
    sqlite3 *m_alarms = nullptr;
    sqlite3 *m_state = nullptr;

    std::map<int, Card> m_cardOf;   // the card each holder presents
    std::map<int, int> m_usage;     // GCP:POUZITI of each unit
    std::map<int, bool> m_inside;   // whose last attendance event was an arrival
    std::vector<int> m_people;
    std::vector<int> m_readers;
    qint64 m_startMs = 0;           // the first event's time, ms since the epoch
};
