#include "picture.h"

#include "stddatetime.h"

#include <limits>

#include <QDate>
#include <QRegularExpression>
#include <QStringList>

#include <utility>

namespace {

QDate dateOfDayNumber(qint64 days)
{
    return days > 0 && days <= std::numeric_limits<qint32>::max() ? StdDateTime::toQDate(qint32(days)) : QDate();
}

qint64 dayNumberOf(const QDate &date)
{
    return StdDateTime::fromQDate(date);
}

constexpr qint64 LastTime = 8640000;     // 23:59:59.99
constexpr qint64 HundredthsPerHour = 360000;
constexpr qint64 HundredthsPerMinute = 6000;
constexpr int MostPatternDigits = 18;    // so that a pattern's value always fits a qint64
constexpr int MostNumberSize = 32;

const QChar Blank = QLatin1Char(' ');
const QChar NoBreakBlank = QChar(0x00A0);

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(const QString &text)
{
    for (const QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

// A null value (a blank field, a NULL column) counts as 0; a value that is no number fails.
bool integerOf(const QVariant &value, qint64 *out)
{
    if (!value.isValid() || value.isNull()) {
        *out = 0;
        return true;
    }
    bool ok = false;
    const qint64 v = value.toLongLong(&ok);
    if (ok)
        *out = v;
    return ok;
}

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

Picture Picture::parse(const QString &text)
{
    Picture picture;
    QString body = text.trimmed();
    if (body.startsWith(QLatin1Char('@')))
        body.remove(0, 1);
    picture.m_text = body;
    if (body.isEmpty())
        return picture;

    const QChar letter = body.at(0).toLower();
    const QString rest = body.mid(1);

    if (letter == QLatin1Char('s')) {
        bool ok = false;
        const int size = rest.toInt(&ok);
        if (ok && allDigits(rest) && size >= 1 && size <= 65535) {
            picture.m_kind = Kind::Text;
            picture.m_width = size;
        }
    } else if (letter == QLatin1Char('n')) {
        static const QRegularExpression grammar(
            QStringLiteral("^(-)?([0_])?([0-9]+)(?:\\.([0-9]+))?([bB])?$"));
        const QRegularExpressionMatch match = grammar.match(rest);
        if (!match.hasMatch())
            return picture;
        const int size = match.captured(3).toInt();
        const int decimals = match.captured(4).isEmpty() ? 0 : match.captured(4).toInt();
        // Room at least for "0," and the decimals, and never more digits than a qint64 holds.
        if (size < 1 || size > MostNumberSize || decimals > 17
            || (decimals > 0 && size < decimals + 2))
            return picture;
        picture.m_kind = Kind::Number;
        picture.m_width = size;
        picture.m_signed = !match.captured(1).isEmpty();
        const QString fill = match.captured(2);
        picture.m_fill = fill.isEmpty() ? Fill::Grouped
                         : fill == QLatin1String("0") ? Fill::Zeros
                                                      : Fill::NoGrouping;
        picture.m_decimals = decimals;
        picture.m_blankZero = !match.captured(5).isEmpty();
    } else if (letter == QLatin1Char('d')) {
        if (rest == QLatin1String("17") || rest == QLatin1String("6")) {
            picture.m_kind = Kind::Date;
            picture.m_code = rest.toInt();
            picture.m_width = 10;
        }
    } else if (letter == QLatin1Char('t')) {
        if (rest == QLatin1String("7") || rest == QLatin1String("1") || rest == QLatin1String("8")) {
            picture.m_kind = Kind::Time;
            picture.m_code = rest.toInt();
            picture.m_width = picture.m_code == 8 ? 8 : 5;
        }
    } else if (letter == QLatin1Char('p')) {
        if (body.size() >= 3 && body.back() == body.front()) {
            const QString pattern = body.mid(1, body.size() - 2);
            const qsizetype positions = pattern.count(QLatin1Char('#')) + pattern.count(QLatin1Char('<'));
            if (positions >= 1 && positions <= MostPatternDigits) {
                picture.m_kind = Kind::Pattern;
                picture.m_pattern = pattern;
                picture.m_width = int(pattern.size());
            }
        }
    }
    return picture;
}

QString Picture::format(const QVariant &value) const
{
    if (m_kind == Kind::Invalid)
        return {};
    if (m_kind == Kind::Text) {
        QString text = value.toString().left(m_width);
        while (!text.isEmpty() && text.back().isSpace())
            text.chop(1);
        return text;
    }

    qint64 number = 0;
    const bool isNumber = integerOf(value, &number);
    QString out;
    switch (m_kind) {
    case Kind::Number:
        return isNumber && formatNumber(number, &out) ? out : hashes();
    case Kind::Date:
        return isNumber ? formatDate(number) : hashes();
    case Kind::Time:
        return formatTime(isNumber ? number : 0);
    case Kind::Pattern:
        return isNumber && formatPattern(number, &out) ? out : hashes();
    default:
        return {};
    }
}

bool Picture::parseInput(const QString &text, QVariant *value) const
{
    if (!value)
        return false;
    bool complete = false;
    QVariant parsed;
    if (!scan(text, &complete, &parsed) || !complete)
        return false;
    *value = parsed;
    return true;
}

bool Picture::acceptsPartial(const QString &text) const
{
    bool complete = false;
    QVariant parsed;
    return scan(text, &complete, &parsed);
}

// One scanner per kind serves both the entry (complete input) and the validator (input so
// far), so the two can never disagree on what a picture allows.
bool Picture::scan(const QString &text, bool *complete, QVariant *value) const
{
    *complete = false;
    qint64 number = 0;
    bool ok = false;
    switch (m_kind) {
    case Kind::Text:
        if (text.size() > m_width)
            return false;
        *complete = true;
        *value = text;
        return true;
    case Kind::Number:
        ok = scanNumber(text, complete, &number);
        break;
    case Kind::Date:
        ok = scanDate(text, complete, &number);
        break;
    case Kind::Time:
        ok = scanTime(text, complete, &number);
        break;
    case Kind::Pattern:
        ok = scanPattern(text, complete, &number);
        break;
    case Kind::Invalid:
        return false;
    }
    if (ok && *complete)
        *value = QVariant::fromValue<qint64>(number);
    return ok;
}

// ---- numbers ----

bool Picture::formatNumber(qint64 value, QString *out) const
{
    if (value == 0 && m_blankZero) {
        out->clear();
        return true;
    }
    if (value < 0 && !m_signed)
        return false;
    const bool negative = value < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    QString digits = QString::number(magnitude);
    if (digits.size() <= m_decimals)
        digits.prepend(QString(m_decimals + 1 - digits.size(), QLatin1Char('0')));
    QString text = digits.left(digits.size() - m_decimals);
    // Czech writing leaves a number of up to four digits whole and groups longer ones.
    if (m_fill == Fill::Grouped && text.size() > 4) {
        for (qsizetype at = text.size() - 3; at > 0; at -= 3)
            text.insert(at, Blank);
    }
    if (m_decimals > 0)
        text += QLatin1Char(',') + digits.right(m_decimals);
    const int signWidth = negative ? 1 : 0;
    if (m_fill == Fill::Zeros && signWidth + text.size() < m_width)
        text.prepend(QString(m_width - signWidth - text.size(), QLatin1Char('0')));
    if (negative)
        text.prepend(QLatin1Char('-'));
    if (text.size() > m_width)
        return false;
    *out = text;
    return true;
}

bool Picture::scanNumber(const QString &input, bool *complete, qint64 *value) const
{
    const QString text = input.trimmed();
    if (text.isEmpty()) {
        *complete = true;
        *value = 0;
        return true;
    }
    QString whole;
    QString fraction;
    bool negative = false;
    bool decimalMark = false;
    // Group blanks only where the picture can show a grouped number at all ("10 000").
    const bool canGroup = isGrouped() && m_width >= 6;
    qsizetype i = 0;
    if (text.at(0) == QLatin1Char('-')) {
        if (!m_signed)
            return false;
        negative = true;
        i = 1;
    }
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isDigit(c)) {
            (decimalMark ? fraction : whole).append(c);
            if (fraction.size() > m_decimals)
                return false;
        } else if ((c == Blank || c == NoBreakBlank) && canGroup && !decimalMark
                   && i > 0 && isDigit(text.at(i - 1))) {
            // a group blank, between digits of the whole part
        } else if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && m_decimals > 0
                   && !decimalMark) {
            decimalMark = true;
        } else {
            return false;
        }
    }
    // Leading zeros do not count against the size.
    while (whole.size() > 1 && whole.at(0) == QLatin1Char('0'))
        whole.remove(0, 1);
    if (whole.size() + m_decimals > 18)
        return false;
    qint64 v = 0;
    for (const QChar c : std::as_const(whole))
        v = v * 10 + (c.unicode() - '0');
    for (int k = 0; k < m_decimals; ++k)
        v = v * 10 + (k < fraction.size() ? fraction.at(k).unicode() - '0' : 0);
    if (negative)
        v = -v;
    QString shown;
    if (!formatNumber(v, &shown))
        return false;
    *complete = !whole.isEmpty() || !fraction.isEmpty();
    *value = v;
    return true;
}

// ---- dates ----

QString Picture::formatDate(qint64 value) const
{
    if (value == 0)
        return {};
    const QDate date = value > 0 && value < 4000000 ? dateOfDayNumber(value) : QDate();
    if (!date.isValid() || date.year() > 9999)
        return hashes();
    if (m_code == 6)
        return QStringLiteral("%1/%2/%3").arg(twoDigits(date.day()), twoDigits(date.month()))
            .arg(date.year());
    return QStringLiteral("%1.%2.%3").arg(date.day()).arg(date.month()).arg(date.year());
}

bool Picture::scanDate(const QString &input, bool *complete, qint64 *value) const
{
    const QString text = input.trimmed();
    if (text.isEmpty()) {
        *complete = true;
        *value = 0;
        return true;
    }
    const QChar separator = m_code == 6 ? QLatin1Char('/') : QLatin1Char('.');
    const QStringList parts = text.split(separator);
    if (parts.size() > 3)
        return false;
    static const int mostDigits[3] = {2, 2, 4};
    int numbers[3] = {0, 0, 0};
    int lengths[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        // Blanks after a separator ("1. 1. 2000") are how many of our users write a date.
        const QString part = parts.at(i).trimmed();
        const bool followed = i + 1 < parts.size();
        if (!allDigits(part) || part.size() > mostDigits[i] || (followed && part.isEmpty()))
            return false;
        lengths[i] = int(part.size());
        numbers[i] = part.toInt();
    }
    // Day and month: as soon as they are finished, they must be a real day and month.
    for (int i = 0; i < 2; ++i) {
        const bool finished = lengths[i] == 2 || (lengths[i] == 1 && parts.size() > i + 1);
        const int most = i == 0 ? 31 : 12;
        if (finished && (numbers[i] < 1 || numbers[i] > most))
            return false;
    }
    // A finished month (a "1" may still become 10 to 12) must have the day; February has its
    // 29th until the year says otherwise.
    const bool monthFinished =
        lengths[1] == 2 || (lengths[1] == 1 && (parts.size() > 2 || numbers[1] >= 2));
    if (monthFinished && lengths[0] > 0 && numbers[0] > QDate(2000, numbers[1], 1).daysInMonth())
        return false;
    // Year: only four digits from 1800 on can come of it.
    if (lengths[2] > 0) {
        int scale = 1;
        for (int k = lengths[2]; k < 4; ++k)
            scale *= 10;
        if ((numbers[2] + 1) * scale - 1 < 1800)
            return false;
    }
    if (lengths[2] < 4)
        return true;
    const QDate date(numbers[2], numbers[1], numbers[0]);
    if (!date.isValid() || dayNumberOf(date) < 1)
        return false;
    *complete = true;
    *value = dayNumberOf(date);
    return true;
}

// ---- times ----

QString Picture::formatTime(qint64 value) const
{
    if (value < 1 || value > LastTime)
        return m_code == 1 ? QStringLiteral("00:00") : QString();
    const qint64 hundredths = value - 1;
    const qint64 hours = hundredths / HundredthsPerHour;
    const qint64 minutes = hundredths / HundredthsPerMinute % 60;
    const qint64 seconds = hundredths / 100 % 60;
    switch (m_code) {
    case 1:
        return twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes);
    case 8:
        return QString::number(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':')
            + twoDigits(seconds);
    default:
        return QString::number(hours) + QLatin1Char(':') + twoDigits(minutes);
    }
}

bool Picture::scanTime(const QString &input, bool *complete, qint64 *value) const
{
    const QString text = input.trimmed();
    if (text.isEmpty()) {
        *complete = true;
        *value = 0;
        return true;
    }
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() > 3)
        return false;
    int numbers[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        const bool followed = i + 1 < parts.size();
        if (!allDigits(part) || part.size() > 2)
            return false;
        if (i == 0) {
            if ((followed && part.isEmpty()) || (part.size() == 2 && part.toInt() > 23))
                return false;
        } else {
            // Minutes and seconds always take two digits, the first of them 0 to 5.
            if ((followed && part.size() < 2) || (!part.isEmpty() && part.at(0) > QLatin1Char('5')))
                return false;
        }
        numbers[i] = part.toInt();
    }
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts.at(i).size() < 2)
            return true;
    }
    *complete = true;
    *value = numbers[0] * HundredthsPerHour + numbers[1] * HundredthsPerMinute
        + numbers[2] * 100 + 1;
    return true;
}

// ---- patterns ----

bool Picture::formatPattern(qint64 value, QString *out) const
{
    const qsizetype positions = m_pattern.count(QLatin1Char('#')) + m_pattern.count(QLatin1Char('<'));
    if (value < 0)
        return false;
    QString digits = QString::number(value);
    if (digits.size() > positions)
        return false;
    digits.prepend(QString(positions - digits.size(), QLatin1Char('0')));
    QString text;
    qsizetype next = 0;
    bool leading = true;
    for (const QChar c : m_pattern) {
        if (c == QLatin1Char('#') || c == QLatin1Char('<')) {
            const QChar digit = digits.at(next++);
            leading = leading && digit == QLatin1Char('0');
            if (!(c == QLatin1Char('<') && leading))
                text += digit;
        } else {
            text += c;
        }
    }
    *out = text;
    return true;
}

bool Picture::scanPattern(const QString &text, bool *complete, qint64 *value) const
{
    if (text.trimmed().isEmpty()) {
        *complete = true;
        *value = 0;
        return true;
    }
    // Each run of digit positions becomes one group; its '<' positions may be left out.
    QString expression;
    QList<int> runLengths;
    for (qsizetype i = 0; i < m_pattern.size();) {
        const QChar c = m_pattern.at(i);
        if (c == QLatin1Char('#') || c == QLatin1Char('<')) {
            int required = 0;
            int length = 0;
            for (; i < m_pattern.size()
                   && (m_pattern.at(i) == QLatin1Char('#') || m_pattern.at(i) == QLatin1Char('<'));
                 ++i, ++length) {
                if (m_pattern.at(i) == QLatin1Char('#'))
                    ++required;
            }
            expression += QStringLiteral("([0-9]{%1,%2})").arg(required).arg(length);
            runLengths.append(length);
        } else {
            expression += QRegularExpression::escape(QString(c));
            ++i;
        }
    }
    const QRegularExpression re(QRegularExpression::anchoredPattern(expression));
    const QRegularExpressionMatch match =
        re.match(text, 0, QRegularExpression::PartialPreferCompleteMatch);
    if (match.hasPartialMatch())
        return true;
    if (!match.hasMatch())
        return false;
    QString digits;
    for (qsizetype run = 0; run < runLengths.size(); ++run) {
        const QString group = match.captured(int(run) + 1);
        digits += QString(runLengths.at(run) - group.size(), QLatin1Char('0')) + group;
    }
    *complete = true;
    *value = digits.toLongLong();
    return true;
}
