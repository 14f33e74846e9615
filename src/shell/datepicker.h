#pragma once

#include <QDate>
#include <QDialog>
#include <optional>

class QCalendarWidget;

// The date picker of the date entries: a modal month calendar titled "Vyberte datum" that
// opens on the month of the entry's date with that day marked (today when the entry has no
// date or one outside 1 January 1801 to 31 December 2099), Saturdays and Sundays in red. A
// double-click or Enter on a day, or "OK", chooses the marked day; "Storno", Esc or the close
// box choose nothing.
class DatePicker : public QDialog
{
    Q_OBJECT

public:
    // `date` is a standard date (0 = none).
    explicit DatePicker(qint32 date, QWidget *parent = nullptr);

    QCalendarWidget *calendar() const { return m_calendar; }
    // The standard date of the marked day.
    qint32 selectedDate() const;

    // Runs the picker; the chosen standard date, or nothing when the user cancelled.
    static std::optional<qint32> choose(qint32 date, QWidget *parent = nullptr);

    // The day the picker opens on for `date`: the date itself, or `today` when it has none or
    // lies outside the picker's range.
    static QDate initialDate(qint32 date, const QDate &today);
    static QDate firstDate() { return QDate(1801, 1, 1); }
    static QDate lastDate() { return QDate(2099, 12, 31); }

private:
    QCalendarWidget *m_calendar = nullptr;
};
