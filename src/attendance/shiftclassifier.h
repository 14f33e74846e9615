#pragma once

#include <QtGlobal>

// The three shift boundaries of SETINGS record 1 (SET:RANNI_DO, SET:ODPOLEDNI_DO,
// SET:NOCNI_DO), as the program copies them into GLO:RANNI_DO, GLO:ODPOLEDNI_DO and
// GLO:NOCNI_DO when the main frame opens. Standard times; 0 = empty.
struct ShiftBoundaries
{
    qint32 ranniDo = 0;
    qint32 odpoledniDo = 0;
    qint32 nocniDo = 0;
};

// To which shift the work of an arrival belongs.
namespace ShiftClassifier {

// The shift numbers as the monthly computation keeps them in SMENA.
enum Shift : int {
    None = 0,
    Ranni = 1,      // morning
    Odpoledni = 2,  // afternoon
    Nocni = 3,      // night
};

// The shift of an arrival at standard time `arrival`. Each boundary is first taken as a time
// of day, so 0 and exactly midnight count as the empty time 0. Then, in this order: morning if
// NOCNI_DO <= t <= RANNI_DO; afternoon if RANNI_DO <= t <= ODPOLEDNI_DO; night if
// t >= ODPOLEDNI_DO; night otherwise (t <= NOCNI_DO). Every arrival gets 1, 2 or 3, whatever
// the order of the boundaries.
Shift classify(qint32 arrival, const ShiftBoundaries &boundaries);

} // namespace ShiftClassifier
