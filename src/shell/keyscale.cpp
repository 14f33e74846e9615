#include "keyscale.h"

#include "czechcollation.h"
#include "sqlitestore.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Letters a text coordinate is made of; later letters cannot change the order of two texts
// that differ in the first few.
constexpr int TextLetters = 4;

// The Czech alphabet as the name keys order it: digits, then letters; "Ch" is a letter of its
// own after "H", and so are "Č", "Ř", "Š" and "Ž" after their base letters. Other accented
// letters sort with their base letter.
const QStringList &czechLetters()
{
    static const QStringList letters = [] {
        QStringList l;
        for (char c = '0'; c <= '9'; ++c)
            l << QString(QLatin1Char(c));
        for (char c = 'A'; c <= 'Z'; ++c) {
            l << QString(QLatin1Char(c));
            if (c == 'C')
                l << QStringLiteral("Č");
            else if (c == 'H')
                l << QStringLiteral("CH");
            else if (c == 'R')
                l << QStringLiteral("Ř");
            else if (c == 'S')
                l << QStringLiteral("Š");
            else if (c == 'Z')
                l << QStringLiteral("Ž");
        }
        return l;
    }();
    return letters;
}

// Radix of a Czech coordinate: blank and punctuation (0), the letters (1..n), anything else.
int czechRadix()
{
    return int(czechLetters().size()) + 2;
}

// The rank of the letter at `*i` in Czech order; advances `*i` past it.
int czechRank(const QString &text, qsizetype *i)
{
    const QStringList &letters = czechLetters();
    QChar c = text.at(*i).toUpper();
    ++*i;
    if (c == QLatin1Char('C') && *i < text.size() && text.at(*i).toUpper() == QLatin1Char('H')) {
        ++*i;
        return int(letters.indexOf(QStringLiteral("CH"))) + 1;
    }
    qsizetype at = letters.indexOf(QString(c));
    if (at < 0) {
        const QString d = c.decomposition();
        if (!d.isEmpty())
            at = letters.indexOf(QString(d.at(0).toUpper()));
    }
    if (at >= 0)
        return int(at) + 1;
    return c.unicode() < 128 && !c.isLetterOrNumber() ? 0 : czechRadix() - 1;
}

// Letters without regard to case, in the order of their codes (as SQLite's NOCASE orders): the
// printable ASCII characters with the capitals taken as small letters, then anything else.
const QString &plainLetters()
{
    static const QString letters = [] {
        QString l;
        for (char16_t u = 32; u < 128; ++u)
            if (u < u'A' || u > u'Z')
                l += QChar(u);
        return l;
    }();
    return letters;
}

int plainRadix()
{
    return int(plainLetters().size()) + 1;
}

int plainRank(QChar c)
{
    char16_t u = c.unicode();
    if (u >= u'A' && u <= u'Z')
        u = char16_t(u + 32);
    if (u >= 128)
        return plainRadix() - 1;
    return u < 32 ? 0 : int(plainLetters().indexOf(QChar(u)));
}

} // namespace

KeyScale::KeyScale(Kind kind, const QVariant &first, const QVariant &last)
    : m_kind(kind)
{
    m_first = coordinate(first);
    m_last = coordinate(last);
}

KeyScale::Kind KeyScale::kindFor(const TableDef &def, int field)
{
    if (field < 0 || field >= int(def.fields.size()))
        return Kind::None;
    if (!def.fields[size_t(field)].isText())
        return Kind::Number;
    return std::strcmp(SqliteStore::collationFor(def, field), CzechCollation::name) == 0 ? Kind::CzechText
                                                                                         : Kind::PlainText;
}

double KeyScale::coordinate(const QVariant &value) const
{
    switch (m_kind) {
    case Kind::None:
        return 0;
    case Kind::Number:
        return double(value.toLongLong());
    case Kind::CzechText: {
        const QString t = value.toString();
        const double radix = czechRadix();
        double c = 0;
        double scale = 1;
        qsizetype i = 0;
        for (int n = 0; n < TextLetters && i < t.size(); ++n) {
            scale /= radix;
            c += czechRank(t, &i) * scale;
        }
        return c;
    }
    case Kind::PlainText: {
        const QString t = value.toString();
        double c = 0;
        double scale = 1;
        for (int n = 0; n < TextLetters && n < t.size(); ++n) {
            scale /= plainRadix();
            c += plainRank(t.at(n)) * scale;
        }
        return c;
    }
    }
    return 0;
}

QVariant KeyScale::valueOfCoordinate(double c) const
{
    switch (m_kind) {
    case Kind::None:
        return {};
    case Kind::Number:
        return QVariant::fromValue<qint64>(qint64(std::llround(c)));
    case Kind::CzechText:
    case Kind::PlainText: {
        const bool czech = m_kind == Kind::CzechText;
        const int radix = czech ? czechRadix() : plainRadix();
        QString t;
        for (int n = 0; n < TextLetters; ++n) {
            c *= radix;
            const int rank = std::clamp(int(std::floor(c)), 0, radix - 1);
            c -= rank;
            if (czech)
                t += rank == 0 ? QStringLiteral(" ") : rank <= int(czechLetters().size())
                                                          ? czechLetters().at(rank - 1)
                                                          : QString(QChar(0x4000));
            else
                t += rank < int(plainLetters().size()) ? plainLetters().at(rank) : QChar(0x4000);
        }
        while (t.endsWith(QLatin1Char(' ')))
            t.chop(1);
        return t;
    }
    }
    return {};
}

double KeyScale::fraction(const QVariant &value) const
{
    if (!isValid())
        return 0;
    return std::clamp((coordinate(value) - m_first) / (m_last - m_first), 0.0, 1.0);
}

QVariant KeyScale::valueAt(double fraction) const
{
    const double f = std::clamp(fraction, 0.0, 1.0);
    return valueOfCoordinate(m_first + f * (m_last - m_first));
}
