#pragma once

#include <QString>
#include <QVariant>

// A display picture: how a list column, an entry or a report field shows a value, and what an
// entry accepts back. Plain Qt Core, so the lists, the forms and the report share one formatter
// and the rules can be tested without a window.
//
// A picture is written with or without a leading '@' ("@s52" and "s52" are the same). Letter
// case of the picture letter makes no difference ("N4" is "n4", "S45" is "s45").
//
// Text, `sN`: a text of N characters. Shown cut to N characters, without trailing blanks (the
// tables pad their texts with blanks); an entry takes at most N characters.
//
// Number, `n[-][fill]size[.decimals][b]`:
//   - `-`        the number may be negative; it is shown with a leading "-". Without it a
//                negative value cannot be shown and an entry refuses the minus sign.
//   - fill       none: the digits are grouped by thousands with a space ("12 345"; our users
//                are Czech), except that a number of at most four digits stays whole ("2010",
//                so that years and person codes read naturally);
//                `_`: no grouping ("12345"); `0`: no grouping and leading zeros up to the size
//                ("n05" shows 42 as "00042").
//   - size       the number of positions the whole text may take: sign, digits, group blanks,
//                decimal comma and decimals. A value whose text would be longer is shown as
//                `size` characters '#'. So `n3` shows 0 to 999, `n5` 0 to 9999 ("10 000" takes
//                six), `n_5` 0 to 99999, `n-14` every LONG.
//   - .decimals  digits after the decimal comma; ".0" means none. The value is then a whole
//                count of the last decimal (hundredths for ".2": 1250 shows as "12,50").
//   - `b`        blank when zero; without it zero shows as "0".
//   An entry accepts an optional "-" (signed pictures only), digits, group blanks (grouped
//   pictures only) and one decimal mark, "," or "." (pictures with decimals only), as long as
//   the value still fits the picture; blank means 0.
//
// Date (the value is a standard date: days since 28 December 1800, 1 January 2000 = 72,687;
// 0 = no date, shown blank; a negative value or one beyond 31 December 9999 shows as '#'):
//   - `D17`  the short date of our users, "d.M.yyyy" ("1.1.2000"), whatever the machine's locale;
//   - `D6`   "dd/MM/yyyy" ("01/01/2000").
//   An entry takes day, month and year with the picture's separator, day and month with one or
//   two digits, the year always with four (a two-digit year is refused, never guessed); a blank
//   entry means no date (0).
//
// Time (the value is a standard time: hundredths of a second since midnight plus one,
// 1 = 00:00:00.00, 2,880,001 = 08:00, 8,640,000 = 23:59:59.99):
//   - `T7`  the short time, "H:mm" ("8:05");
//   - `T8`  the long time, "H:mm:ss" ("8:05:00");
//   - `T1`  hours and minutes with two digits each, "HH:mm" ("08:05").
//   Seconds and hundredths that the picture does not show are cut, not rounded. T7 and T8 show
//   0 (no time), negative values and values beyond 8,640,000 as blank; T1 shows them as
//   midnight, "00:00" (the attendance report relies on this for its subtotals).
//   An entry takes "H", "H:mm" or "H:mm:ss" (hours 0..23 with one or two digits, minutes and
//   seconds with two); a blank entry means no time (0).
//
// Pattern, `P...P` (or `p...p`): the text between the delimiters is shown as written, except
//   that each '#' is a digit and each '<' a digit that is left out while it is a leading zero.
//   The value fills the digit positions from the right: "P##P" shows 7 as "07", "P20##P" shows
//   15 as "2015", "pPage <<#p" shows 3 as "Page 3". A negative value or one with more digits
//   than positions shows as '#' of the picture's width. An entry must give the text of the
//   pattern with its digits ('<' positions may be left out); a blank entry means 0.
//
// Values: qint64 (any QVariant that converts to a number) for numbers, dates, times and
// patterns; QString for texts. parseInput() gives the same types back.
class Picture
{
public:
    enum class Kind { Text, Number, Date, Time, Pattern, Invalid };

    // An invalid picture: formats everything as blank and accepts nothing.
    Picture() = default;

    // Reads a picture such as "@s52", "s52", "@n-7.0", "N-_14", "@D17", "@T8", "@P##P" or
    // "@pPage <<#p"; an unknown or malformed picture gives an invalid one (isValid() false).
    static Picture parse(const QString &text);

    bool isValid() const { return m_kind != Kind::Invalid; }
    Kind kind() const { return m_kind; }
    // The picture as it was given to parse(), without the leading '@'.
    QString text() const { return m_text; }

    // The most characters a formatted value takes (the width of a column or entry in
    // characters): the size of texts and numbers, 10 for dates, 5 for T7 and T1, 8 for T8, the
    // length between the delimiters for patterns; 0 for an invalid picture.
    int width() const { return m_width; }

    // Numbers: whether negative values are allowed, the count of decimals, whether thousands are
    // grouped. False / 0 for the other kinds.
    bool isSigned() const { return m_signed; }
    int decimals() const { return m_decimals; }
    bool isGrouped() const { return m_kind == Kind::Number && m_fill == Fill::Grouped; }

    // The text the picture shows for `value`.
    QString format(const QVariant &value) const;

    // Reads what a user typed back into a value of the picture's type. Returns false, leaving
    // `*value` untouched, when the text does not fit the picture (or `value` is null).
    bool parseInput(const QString &text, QVariant *value) const;

    // Whether `text`, typed so far, is or can still become an input that parseInput() accepts;
    // false as soon as no further typing can make it fit (a letter in a number, a fourth digit
    // in `n3`, a month 13, a fifth digit of a year).
    bool acceptsPartial(const QString &text) const;

private:
    enum class Fill { Grouped, NoGrouping, Zeros };

    QString hashes() const { return QString(m_width, QLatin1Char('#')); }
    bool formatNumber(qint64 value, QString *out) const;
    bool scanNumber(const QString &text, bool *complete, qint64 *value) const;
    QString formatDate(qint64 value) const;
    bool scanDate(const QString &text, bool *complete, qint64 *value) const;
    QString formatTime(qint64 value) const;
    bool scanTime(const QString &text, bool *complete, qint64 *value) const;
    bool formatPattern(qint64 value, QString *out) const;
    bool scanPattern(const QString &text, bool *complete, qint64 *value) const;
    bool scan(const QString &text, bool *complete, QVariant *value) const;

    Kind m_kind = Kind::Invalid;
    QString m_text;
    int m_width = 0;
    // numbers
    bool m_signed = false;
    Fill m_fill = Fill::Grouped;
    int m_decimals = 0;
    bool m_blankZero = false;
    // dates and times: the picture's number (17, 6; 7, 8, 1)
    int m_code = 0;
    // patterns: the text between the delimiters
    QString m_pattern;
};
