#include "eventgenerator.h"

#include "eventcodes.h"
#include "stddatetime.h"

#include <algorithm>

namespace {

constexpr qint64 Minute = StdDateTime::HundredthsPerMinute;
constexpr qint64 Day = StdDateTime::HundredthsPerDay;

} // namespace

EventGenerator::EventGenerator(quint32 seed)
    : m_rng(seed)
{
}

quint32 EventGenerator::next()
{
    return quint32(m_rng());
}

int EventGenerator::bounded(int low, int high)
{
    if (high <= low)
        return low;
    return low + int(next() % quint32(high - low + 1));
}

bool EventGenerator::chance(int percent)
{
    return bounded(0, 99) < percent;
}

int EventGenerator::doorCode(int refusedPercent)
{
    return chance(refusedPercent) ? EventCodes::ZamitnutPristup : EventCodes::OteviramDvere;
}

EventGenerator::Event EventGenerator::at(qint32 date, qint64 offset, int code, int reader)
{
    qint64 days = offset / Day;
    qint64 rest = offset % Day;
    if (rest < 0) {
        rest += Day;
        --days;
    }
    Event e;
    e.datum = qint32(date + days);
    e.cas = qint32(rest + 1);
    e.code = code;
    e.reader = reader;
    return e;
}

qint64 EventGenerator::jitter(int fromMinute, int toMinute)
{
    // Whole seconds, as the readers stamp their events.
    return qint64(bounded(fromMinute * 60, toMinute * 60)) * 100;
}

int EventGenerator::pick(const std::vector<int> &readers)
{
    return readers[size_t(bounded(0, int(readers.size()) - 1))];
}

std::vector<EventGenerator::Event> EventGenerator::workingDay(Hours hours, qint32 date, const Route &route,
                                                              int doorEvents, bool byCar, int refusedPercent,
                                                              bool departure)
{
    std::vector<Event> out;
    const qint64 start = hours.startMinute * Minute;
    const qint64 end = start + hours.lengthMinutes * Minute;
    const qint64 arrival = start - jitter(3, 20);
    const qint64 leaving = end + jitter(1, 20);

    if (byCar && route.gate)
        out.push_back(at(date, arrival - jitter(3, 6), EventCodes::GsmBrana, route.gate));
    if (route.staffDoor)
        out.push_back(at(date, arrival - jitter(1, 2), EventCodes::OteviramDvere, route.staffDoor));
    out.push_back(at(date, arrival, EventCodes::Prichod, route.terminal));

    if (!route.doors.empty()) {
        std::vector<qint64> times;
        const int from = int((arrival + 5 * Minute) / 100);
        const int to = int((leaving - 5 * Minute) / 100);
        for (int i = 0; i < doorEvents; ++i)
            times.push_back(qint64(bounded(from, to)) * 100);
        std::sort(times.begin(), times.end());
        for (qint64 t : times)
            out.push_back(at(date, t, doorCode(refusedPercent), pick(route.doors)));
    }

    if (departure) {
        out.push_back(at(date, leaving, EventCodes::Odchod, route.terminal));
        if (route.staffDoor)
            out.push_back(at(date, leaving + jitter(1, 2), EventCodes::OteviramDvere, route.staffDoor));
        if (byCar && route.gate)
            out.push_back(at(date, leaving + jitter(3, 6), EventCodes::GsmBrana, route.gate));
    }
    return out;
}

std::vector<EventGenerator::Event> EventGenerator::dayOfEvents(Hours hours, qint32 date, const Route &route, int count)
{
    std::vector<Event> out;
    if (count <= 0)
        return out;
    const std::vector<int> terminalOnly{route.terminal};
    const std::vector<int> &doors = route.doors.empty() ? terminalOnly : route.doors;
    const qint64 start = hours.startMinute * Minute;
    const qint64 end = start + hours.lengthMinutes * Minute;
    const qint64 arrival = start - jitter(3, 20);
    const qint64 leaving = end + jitter(1, 20);
    const int doorCount = count == 1 ? 1 : count - 2;
    std::vector<qint64> times;
    for (int i = 0; i < doorCount; ++i)
        times.push_back(qint64(bounded(int((arrival + Minute) / 100), int((leaving - Minute) / 100))) * 100);
    std::sort(times.begin(), times.end());
    if (count >= 2)
        out.push_back(at(date, arrival, EventCodes::Prichod, route.terminal));
    for (qint64 t : times)
        out.push_back(at(date, t, doorCode(3), pick(doors)));
    if (count >= 2)
        out.push_back(at(date, leaving, EventCodes::Odchod, route.terminal));
    return out;
}

QString EventGenerator::cardCode(quint32 seed, int n)
{
    // splitmix64 of the seed and the number: well spread, and independent of any generator's
    // position.
    quint64 z = (quint64(seed) << 32 | quint32(n)) + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return QStringLiteral("04%1").arg(quint32(z), 8, 16, QLatin1Char('0')).toUpper();
}
