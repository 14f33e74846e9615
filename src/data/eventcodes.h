#pragma once

#include <QString>

#include <optional>
#include <span>

// The event codes of the log field LPO:DATA: the one table of the codes the program knows,
// with the text under which the windows show each code and the two groups (attendance codes;
// named in the access list). Every other value of LPO:DATA has no text.
namespace EventCodes {

enum Code : int {
    Proplaceno = 10,       // time paid out
    VychoziKladny = 11,    // opening balance, positive
    VychoziZaporny = 12,   // opening balance, negative
    Nemoc = 13,            // sickness
    Dovolena = 15,         // vacation
    Prichod = 41,          // arrival
    Odchod = 43,           // departure
    OteviramDvere = 51,    // door being opened
    ZamitnutPristup = 53,  // access refused
    GsmBrana = 66,         // gate opened through GSM
};

struct Entry
{
    int code;
    const char16_t *text;
    bool attendance;  // one of the attendance codes
    bool access;      // named in the access list
};

// The ten known codes in code order. The storage is static.
std::span<const Entry> table();
// The entry of a code; nullptr for a code the program does not know.
const Entry *find(int code);

// The text of an attendance code; empty for any other code (the attendance list's "Akce").
QString attendanceText(int code);
// The text of a code named in the access list; empty for any other code (the access list's
// "akce").
QString accessText(int code);
// Whether the code is one of the attendance codes 10, 11, 12, 13, 15, 41, 43.
bool isAttendanceCode(int code);
// The text colour of a row of the attendance list as 0xRRGGBB: dark green (0, 128, 64) for an
// arrival, red (255, 0, 0) for a departure; no value for the list's default colour.
std::optional<quint32> attendanceRowColour(int code);

// The attendance codes in the order in which the attendance entry form offers them:
// "Příchod", "Odchod", "Dovolená", "Nemoc", "Proplaceno", "Výchozí kladný", "Výchozí záporný".
std::span<const int> attendanceEntryOrder();

} // namespace EventCodes
