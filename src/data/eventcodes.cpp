#include "eventcodes.h"

#include <array>

namespace EventCodes {

namespace {

constexpr std::array<Entry, 10> kTable = {{
    {Proplaceno, u"Proplaceno", true, false},
    {VychoziKladny, u"Výchozí kladný", true, false},
    {VychoziZaporny, u"Výchozí záporný", true, false},
    {Nemoc, u"Nemoc", true, false},
    {Dovolena, u"Dovolená", true, false},
    {Prichod, u"Příchod", true, true},
    {Odchod, u"Odchod", true, true},
    {OteviramDvere, u"Otevírám dveře", false, true},
    {ZamitnutPristup, u"Zamítnut přístup", false, true},
    {GsmBrana, u"GSM - otevřena brána", false, true},
}};

constexpr std::array<int, 7> kEntryOrder = {
    Prichod, Odchod, Dovolena, Nemoc, Proplaceno, VychoziKladny, VychoziZaporny,
};

} // namespace

std::span<const Entry> table()
{
    return kTable;
}

const Entry *find(int code)
{
    for (const Entry &e : kTable) {
        if (e.code == code)
            return &e;
    }
    return nullptr;
}

QString attendanceText(int code)
{
    const Entry *e = find(code);
    return (e && e->attendance) ? QString::fromUtf16(e->text) : QString();
}

QString accessText(int code)
{
    const Entry *e = find(code);
    return (e && e->access) ? QString::fromUtf16(e->text) : QString();
}

bool isAttendanceCode(int code)
{
    const Entry *e = find(code);
    return e && e->attendance;
}

std::optional<quint32> attendanceRowColour(int code)
{
    switch (code) {
    case Prichod:
        return 0x008040u;
    case Odchod:
        return 0xFF0000u;
    default:
        return std::nullopt;
    }
}

std::span<const int> attendanceEntryOrder()
{
    return kEntryOrder;
}

} // namespace EventCodes
