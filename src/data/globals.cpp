#include "globals.h"

#include "settingsfile.h"

namespace GLO {

SharedNumber<qint32> Pocet_spusteni_programu;
SharedText<5> Verze_programu;
SharedText<1> Vyber_tiskarny;
SharedNumber<quint8> Nahled_pred_tiskem;
SharedNumber<qint32, -99999, 99999> Automaticky_mazat_po;
SharedText<128> DataSource;
SharedText<2> Rok;

SharedNumber<qint32> TiskDrzitel;
SharedNumber<quint8> Obdobi;

SharedTime RANNI_DO;
SharedTime ODPOLEDNI_DO;
SharedTime NOCNI_DO;

namespace {

// The largest standard time of a day: midnight plus 24 hours.
constexpr qint32 LastStandardTime = 8640000;

// A number as the settings file holds it: optional blanks and sign, digits, optionally a point
// and more digits. Anything else is 0. The decimals are dropped; a number too long for 64 bits
// saturates, the variable's own range does the rest.
qint64 parseNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < trimmed.size() && (trimmed[i] == u'+' || trimmed[i] == u'-')) {
        negative = trimmed[i] == u'-';
        ++i;
    }

    qint64 number = 0;
    qsizetype digits = 0;
    for (; i < trimmed.size() && trimmed[i] >= u'0' && trimmed[i] <= u'9'; ++i, ++digits) {
        const int digit = trimmed[i].unicode() - u'0';
        if (number > (std::numeric_limits<qint64>::max() - digit) / 10)
            number = std::numeric_limits<qint64>::max();
        else
            number = number * 10 + digit;
    }
    if (i < trimmed.size() && trimmed[i] == u'.') {
        ++i;
        for (; i < trimmed.size() && trimmed[i] >= u'0' && trimmed[i] <= u'9'; ++i)
            ++digits;
    }
    if (digits == 0 || i != trimmed.size())
        return 0;
    return negative ? -number : number;
}

template<typename Number>
void fetchNumber(const SettingsFile &file, const QString &key, Number &variable)
{
    variable.set(parseNumber(file.value(preservedSection(), key)));
}

template<typename Text>
void fetchText(const SettingsFile &file, const QString &key, Text &variable)
{
    variable.set(file.value(preservedSection(), key));
}

} // namespace

void SharedTime::set(qint32 standardTime) noexcept
{
    m_value.store(timeOfDayFromStandard(standardTime), std::memory_order_release);
}

qint32 timeOfDayFromStandard(qint32 standardTime) noexcept
{
    if (standardTime <= 1 || standardTime > LastStandardTime)
        return 0;
    return standardTime;
}

void setShiftBoundaries(qint32 nocniDo, qint32 ranniDo, qint32 odpoledniDo)
{
    NOCNI_DO.set(nocniDo);
    RANNI_DO.set(ranniDo);
    ODPOLEDNI_DO.set(odpoledniDo);
}

QString preservedSection()
{
    return QStringLiteral("Preserved");
}

QStringList preservedKeys()
{
    return {
        QStringLiteral("GLO:Pocet_spusteni_programu"),
        QStringLiteral("GLO:Verze_programu"),
        QStringLiteral("GLO:Vyber_tiskarny"),
        QStringLiteral("GLO:Nahled_pred_tiskem"),
        QStringLiteral("GLO:Automaticky_mazat_po"),
        QStringLiteral("GLO:DataSource"),
        QStringLiteral("GLO:Rok"),
    };
}

void fetchGlobals(const SettingsFile &file)
{
    const QStringList keys = preservedKeys();
    fetchNumber(file, keys[0], Pocet_spusteni_programu);
    fetchText(file, keys[1], Verze_programu);
    fetchText(file, keys[2], Vyber_tiskarny);
    fetchNumber(file, keys[3], Nahled_pred_tiskem);
    fetchNumber(file, keys[4], Automaticky_mazat_po);
    fetchText(file, keys[5], DataSource);
    fetchText(file, keys[6], Rok);
}

void updateGlobals(SettingsFile &file)
{
    const QString section = preservedSection();
    const QStringList keys = preservedKeys();
    file.setValue(section, keys[0], QString::number(Pocet_spusteni_programu.get()));
    file.setValue(section, keys[1], Verze_programu.get());
    file.setValue(section, keys[2], Vyber_tiskarny.get());
    file.setValue(section, keys[3], QString::number(Nahled_pred_tiskem.get()));
    file.setValue(section, keys[4], QString::number(Automaticky_mazat_po.get()));
    file.setValue(section, keys[5], DataSource.get());
    file.setValue(section, keys[6], Rok.get());
}

void resetForTests()
{
    Pocet_spusteni_programu.set(0);
    Verze_programu.set(QString());
    Vyber_tiskarny.set(QString());
    Nahled_pred_tiskem.set(0);
    Automaticky_mazat_po.set(0);
    DataSource.set(QString());
    Rok.set(QString());
    TiskDrzitel.set(0);
    Obdobi.set(0);
    RANNI_DO.set(0);
    ODPOLEDNI_DO.set(0);
    NOCNI_DO.set(0);
}

} // namespace GLO
