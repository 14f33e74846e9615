#include "shiftclassifier.h"

#include "stddatetime.h"

namespace ShiftClassifier {

Shift classify(qint32 arrival, const ShiftBoundaries &boundaries)
{
    const qint32 nocniDo = StdDateTime::timeOfDay(boundaries.nocniDo);
    const qint32 ranniDo = StdDateTime::timeOfDay(boundaries.ranniDo);
    const qint32 odpoledniDo = StdDateTime::timeOfDay(boundaries.odpoledniDo);
    const qint32 t = arrival;

    if (nocniDo <= t && t <= ranniDo)
        return Ranni;
    if (ranniDo <= t && t <= odpoledniDo)
        return Odpoledni;
    if (t >= odpoledniDo)
        return Nocni;
    // The fourth test, t <= NOCNI_DO, holds for every time that failed the three above: such a
    // time lies above RANNI_DO and below ODPOLEDNI_DO unless it lies below NOCNI_DO, and the
    // second test takes the first case.
    return Nocni;
}

} // namespace ShiftClassifier
