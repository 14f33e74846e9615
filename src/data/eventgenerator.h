#pragma once

#include <QString>
#include <QtGlobal>

#include <random>
#include <vector>

// The rules by which the demo installation, the generated logs of the benchmarks and the
// communication-service simulator make the events of the log LOG_POKOJE: when the staff of a
// hotel come and go on their shifts, which doors they open on the way and which event codes
// that gives. Deterministic: the same seed gives the same events on every run and machine
// (the generator is std::mt19937, whose output the standard fixes, and draws its numbers
// itself rather than through the library's distributions).
class EventGenerator
{
public:
    // What a door unit is used for, as GCP:POUZITI numbers it in the demo installation and as
    // the simulator reads it.
    enum Usage { RoomDoor = 1, CommonDoor = 2, AttendanceTerminal = 3, Gate = 4 };

    // The scheduled hours of a shift: its start in minutes after midnight of its first day and
    // its length in minutes (a shift may end on the next day).
    struct Hours {
        int startMinute = 0;
        int lengthMinutes = 0;
    };
    // Office hours 07:00-15:00; the three shifts 06:00-14:00, 14:00-22:00 and 22:00-06:00; the
    // kitchen's afternoon 13:00-21:00. With the shift boundaries 04:00/12:00/20:00 their
    // arrivals (a few minutes before the start) count as morning, morning, afternoon, night and
    // afternoon.
    static constexpr Hours Office{7 * 60, 8 * 60};
    static constexpr Hours Morning{6 * 60, 8 * 60};
    static constexpr Hours Afternoon{14 * 60, 8 * 60};
    static constexpr Hours Night{22 * 60, 8 * 60};
    static constexpr Hours KitchenAfternoon{13 * 60, 8 * 60};

    // One event: when, which code (LPO:DATA) and at which reader (LPO:CTECKA).
    struct Event {
        qint32 datum = 0;  // standard date
        qint32 cas = 0;    // standard time
        int code = 0;
        int reader = 0;
    };

    // The readers a person passes on a working day.
    struct Route {
        int terminal = 0;        // the attendance terminal: arrival and departure
        int staffDoor = 0;       // passed just before the arrival and after the departure; 0: none
        int gate = 0;            // the car park's gate, opened through GSM; 0: none
        std::vector<int> doors;  // the doors opened during the shift
    };

    explicit EventGenerator(quint32 seed);

    quint32 next();
    // A whole number from low to high, both included (low when high < low).
    int bounded(int low, int high);
    bool chance(int percent);

    // The code of an event at a door: "Otevírám dveře" (51), or "Zamítnut přístup" (53) with
    // the given chance in percent.
    int doorCode(int refusedPercent);

    // A working day of a shift that begins on `date`, in time order: through the gate (66)
    // when `byCar`, through the staff door (51), the arrival at the terminal (41) a few
    // minutes before the start, `doorEvents` door events spread over the shift (51, or 53 with
    // `refusedPercent`), the departure (43) a few minutes after the end, and out through the
    // staff door. Without `departure` the day ends after the last door event, as when the
    // person forgot to register leaving. Events of a night shift after midnight fall on the
    // next date.
    std::vector<Event> workingDay(Hours hours, qint32 date, const Route &route, int doorEvents, bool byCar,
                                  int refusedPercent, bool departure = true);

    // Exactly `count` events of a shift that begins on `date` (for the generated logs): the
    // arrival, count - 2 door events and the departure; a single event is a door event.
    std::vector<Event> dayOfEvents(Hours hours, qint32 date, const Route &route, int count);

    // The RFID code of card `n`: "04" and eight hexadecimal digits, the same for the same seed
    // and number.
    static QString cardCode(quint32 seed, int n);

private:
    // The event at `offset` hundredths of a second after midnight of `date` (may be days on).
    static Event at(qint32 date, qint64 offset, int code, int reader);
    qint64 jitter(int fromMinute, int toMinute);
    int pick(const std::vector<int> &readers);

    std::mt19937 m_rng;
};
