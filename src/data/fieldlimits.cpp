#include "fieldlimits.h"

namespace {

// Code page 1250, bytes 0x80..0xFF. The five bytes the code page leaves unassigned (0x81, 0x83,
// 0x88, 0x90, 0x98) map to the control characters of the same number, so that any byte of a
// file read in this code page is written back as it was; no field accepts them as text.
constexpr char16_t high[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

bool isUnassigned(char16_t c)
{
    return c == 0x81 || c == 0x83 || c == 0x88 || c == 0x90 || c == 0x98;
}

int highByte(QChar c)
{
    for (int i = 0; i < 128; ++i)
        if (high[i] == c.unicode())
            return 0x80 + i;
    return -1;
}

} // namespace

namespace FieldLimits {

bool isCp1250(QChar c)
{
    return c.unicode() < 0x80 || (!isUnassigned(c.unicode()) && highByte(c) >= 0);
}

QByteArray toCp1250(const QString &text, char replacement)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += replacement;  // one character outside the code page, one replacement
            ++i;
        } else if (c.unicode() < 0x80)
            out += char(c.unicode());
        else if (int b = highByte(c); b >= 0)
            out += char(b);
        else
            out += replacement;
    }
    return out;
}

QString fromCp1250(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out += QChar(b < 0x80 ? char16_t(b) : high[b - 0x80]);
    }
    return out;
}

qint64 maxMagnitude(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::Byte:
        return 255;
    case FieldType::Long:
        return 2147483647LL;
    case FieldType::Decimal: {
        qint64 m = 1;
        for (int i = 0; i < 2 * field.size - 1; ++i)
            m *= 10;
        return m - 1;
    }
    default:
        return 0;
    }
}

bool fits(const FieldDef &field, const QVariant &value)
{
    if (field.isText()) {
        const QString t = value.toString();
        const int limit = field.type == FieldType::String ? field.size : field.size - 1;
        for (int i = 0; i < qMin(limit, int(t.size())); ++i)
            if (!isCp1250(t.at(i)))
                return false;
        return true;
    }
    const qint64 v = value.toLongLong();
    switch (field.type) {
    case FieldType::Byte:
        return v >= 0 && v <= 255;
    case FieldType::Long:
        return v >= -2147483648LL && v <= 2147483647LL;
    case FieldType::Decimal:
        return v >= -maxMagnitude(field) && v <= maxMagnitude(field);
    default:
        return true;
    }
}

int fitRecord(Record &record)
{
    const TableDef &def = record.def();
    for (int i = 0; i < int(def.fields.size()); ++i) {
        const FieldDef &f = def.fields[size_t(i)];
        if (f.isText()) {
            const int limit = f.type == FieldType::String ? f.size : f.size - 1;
            const QString t = record.text(i);
            if (t.size() > limit)
                record.setText(i, t.left(limit));
        }
        if (!fits(f, record.value(i)))
            return i;
    }
    return -1;
}

} // namespace FieldLimits
