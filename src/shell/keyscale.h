#pragma once

#include "schema.h"

#include <QString>
#include <QVariant>

// Where a key value lies between the first and the last value of a list's order, as a fraction
// from 0 to 1, and the value that lies at a fraction: the list's scroll bar places its thumb by
// the value of the top row and, when the thumb is dragged, places the list at the value under
// it. Numbers are interpolated linearly; texts by their first letters in the order of the key
// (Czech alphabetical, or letters without regard to case). Approximate by nature: equal values
// all lie at one place, and a text scale knows only a few letters.
class KeyScale
{
public:
    enum class Kind { None, Number, CzechText, PlainText };

    KeyScale() = default;
    KeyScale(Kind kind, const QVariant &first, const QVariant &last);

    // The kind of scale a field of a table orders by.
    static Kind kindFor(const TableDef &def, int field);

    Kind kind() const { return m_kind; }
    // False without a kind, or when the first and the last value lie at one place.
    bool isValid() const { return m_kind != Kind::None && m_last > m_first; }

    // 0 at the first value, 1 at the last, clamped between them.
    double fraction(const QVariant &value) const;
    // The value at `fraction` (clamped to 0..1): a qint64 for numbers, a QString for texts.
    QVariant valueAt(double fraction) const;

private:
    double coordinate(const QVariant &value) const;
    QVariant valueOfCoordinate(double c) const;

    Kind m_kind = Kind::None;
    double m_first = 0;
    double m_last = 0;
};
