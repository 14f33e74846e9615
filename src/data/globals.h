#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <limits>

class SettingsFile;

// The program's process-wide values: the seven values kept in the settings section
// "Preserved", the person and the month chosen for the attendance report, and the shift
// boundaries of shift record 1. Each may be read and written from any thread; a read always
// gives a value that some thread wrote, never a torn one.
//
// Usage: `GLO::TiskDrzitel.set(kod)`, `GLO::TiskDrzitel.get()`.
namespace GLO {

// A whole number of a table type: set() brings the number into the type's range (below the
// range gives the lowest value, above it the highest).
template<typename T, qint64 Min = qint64(std::numeric_limits<T>::min()),
         qint64 Max = qint64(std::numeric_limits<T>::max())>
class SharedNumber
{
public:
    static constexpr qint64 Lowest = Min;
    static constexpr qint64 Highest = Max;

    T get() const noexcept { return m_value.load(std::memory_order_acquire); }
    void set(qint64 value) noexcept
    {
        m_value.store(static_cast<T>(std::clamp(value, Min, Max)), std::memory_order_release);
    }

private:
    std::atomic<T> m_value{0};
};

// A STRING(n): set() keeps the first n characters and drops trailing blanks.
template<qsizetype Length>
class SharedText
{
public:
    static constexpr qsizetype MaxLength = Length;

    QString get() const
    {
        QMutexLocker locker(&m_mutex);
        return m_value;
    }
    void set(const QString &value)
    {
        QString text = value.left(Length);
        qsizetype end = text.size();
        while (end > 0 && text.at(end - 1) == u' ')
            --end;
        text.truncate(end);
        QMutexLocker locker(&m_mutex);
        m_value = text;
    }

private:
    mutable QMutex m_mutex;
    QString m_value;
};

// A time of day, kept as the standard time it converts back to: set() takes a standard time
// and stores 0 (no time) for 0, 1 (midnight), a negative value or one above 8,640,000.
class SharedTime
{
public:
    qint32 get() const noexcept { return m_value.load(std::memory_order_acquire); }
    void set(qint32 standardTime) noexcept;

private:
    std::atomic<qint32> m_value{0};
};

// The standard time a time of day converted from `standardTime` gives back: 0 when the
// standard time is 0, 1, negative or greater than 8,640,000, otherwise the same value.
qint32 timeOfDayFromStandard(qint32 standardTime) noexcept;

// Kept in the settings section "Preserved"; only DataSource and Rok mean anything to the
// program, the others are read at start and written back unchanged.
extern SharedNumber<qint32> Pocet_spusteni_programu;              // LONG
extern SharedText<5> Verze_programu;                              // STRING(5)
extern SharedText<1> Vyber_tiskarny;                              // STRING(1)
extern SharedNumber<quint8> Nahled_pred_tiskem;                   // BYTE
extern SharedNumber<qint32, -99999, 99999> Automaticky_mazat_po;  // DECIMAL(3 bytes, 0 places)
extern SharedText<128> DataSource;                                // STRING(128), owner of tables
extern SharedText<2> Rok;                                         // STRING(2), report year - 2000

// Not kept: the person (`ADR:KOD`) last highlighted in a people list, and the month (1 to 12)
// last chosen in the report window, 0 until one is chosen (the program calls it plain
// `Obdobi`; it lives here with the other process-wide values).
extern SharedNumber<qint32> TiskDrzitel; // LONG
extern SharedNumber<quint8> Obdobi;      // BYTE

// The shift boundaries of shift record 1, loaded once after the login.
extern SharedTime RANNI_DO;
extern SharedTime ODPOLEDNI_DO;
extern SharedTime NOCNI_DO;

// Copies the three shift boundaries of shift record 1, as standard times, in the order the
// load takes them: NOCNI_DO, RANNI_DO, ODPOLEDNI_DO.
void setShiftBoundaries(qint32 nocniDo, qint32 ranniDo, qint32 odpoledniDo);

// The section "Preserved" and its seven keys, in the order they are read and written.
QString preservedSection();
QStringList preservedKeys();

// Fetch of the global values: reads each key of "Preserved" and converts the text to its
// variable's type. A missing key or a text that is no number gives 0 for a number and blank
// for a text; a number may carry a sign and decimals (the decimals are dropped); a number out
// of its type's range becomes the nearest value in range; a text is cut to its length.
void fetchGlobals(const SettingsFile &file);

// Update of the global values: writes each variable's current value to its key of
// "Preserved", numbers in decimal, texts without trailing blanks. The file is not saved here.
void updateGlobals(SettingsFile &file);

// Sets every value to 0 or blank, as at the start of the program. For tests.
void resetForTests();

} // namespace GLO
